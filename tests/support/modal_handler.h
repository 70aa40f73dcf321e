#pragma once
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <functional>

// Answers a modal window the code under test opens with exec(): when a window of type Window
// becomes the active modal widget, the handler runs on it. A handler whose checks fail, or a
// window that never appears within the timeout, fails the test and closes what is open, so the
// nested event loop returns at once instead of hanging until the suite's timeout.
// Keep the handler alive (on the stack) for as long as the modal window may appear.
template<class Window>
class ModalHandler : public QObject
{
public:
    explicit ModalHandler(std::function<void(Window *)> handler, int timeoutMs = 5000)
        : m_handler(std::move(handler)), m_timeoutMs(timeoutMs)
    {
        m_clock.start();
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, &ModalHandler::poll);
        m_poll.start();
    }

    bool handled() const { return m_handled; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *window = qobject_cast<Window *>(modal)) {
            m_poll.stop();
            m_handled = true;
            m_handler(window);
            if (QTest::currentTestFailed() && window->isVisible())
                closeModal(window);
            return;
        }
        if (m_clock.elapsed() > m_timeoutMs) {
            m_poll.stop();
            if (modal)
                closeModal(modal);
            QTest::qFail("the expected modal window did not appear", __FILE__, __LINE__);
        }
    }

    static void closeModal(QWidget *w)
    {
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

    std::function<void(Window *)> m_handler;
    int m_timeoutMs;
    QElapsedTimer m_clock;
    QTimer m_poll;
    bool m_handled = false;
};
