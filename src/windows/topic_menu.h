#pragma once
#include <QWidget>

class AppState;
class ButtonXp;
class QLabel;
class XpCmd;
class XpCmdBut;

// "Select Topic": the small menu docked over the main window's lower left corner. Each choice
// plays its sound, closes the menu and then asks for its window; the menu is discarded on every
// close so each opening starts afresh.
class TopicMenu : public QWidget
{
    Q_OBJECT
public:
    TopicMenu(AppState &state, QWidget *owner);

    // Where a window docked in the main window's corner goes: right of the left panel, just above
    // the bottom bar. The Options window uses the same place.
    static QPoint dockedPosition(const QRect &main, int leftsWidth, int bottomHeight, const QSize &own);

    // xpcmd1(index): 0 Options, 2 Your Name & Phone, 3 About, 4 Help, 5 Print.
    XpCmd *button(int index) const;
    ButtonXp *dedicated() const { return m_dedicated; }
    XpCmdBut *closeBox() const { return m_closeBox; }

signals:
    void optionsRequested();
    void personalInfoRequested();
    void aboutRequested();
    void helpRequested();
    void printRequested();
    void dedicationRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    XpCmd *addButton(int index, const QString &caption, int y);
    void choose(void (TopicMenu::*request)(), bool sound);

    AppState &m_state;
    XpCmd *m_buttons[6] = {};
    ButtonXp *m_dedicated = nullptr;
    XpCmdBut *m_closeBox = nullptr;
};
