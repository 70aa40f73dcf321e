#pragma once
#include <QDialog>

class AppState;
class XpCmdBut;

// "Dedicated To ...": who the program is for, with two pictures and a close box.
class DedicationWindow : public QDialog
{
    Q_OBJECT
public:
    DedicationWindow(AppState &state, QWidget *owner);

    XpCmdBut *closeBox() const { return m_closeBox; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    AppState &m_state;
    XpCmdBut *m_closeBox = nullptr;
};
