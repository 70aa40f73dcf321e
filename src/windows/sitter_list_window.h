#pragma once
#include "core/sitter_list.h"

#include <QDialog>

class AppState;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class WindowOpener;
class XpCmd;

// `WizardSit`: browse, search, enter, change, erase and total the sitters. The commands and
// their states are SitterList's; this window shows them and hands it the clicks and typing.
class SitterListWindow : public QDialog
{
    Q_OBJECT
public:
    SitterListWindow(AppState &state, WindowOpener &windows, QWidget *owner);

    SitterList &list() { return m_list; }
    XpCmd *command(int index) const { return m_cmds[index]; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLeftSide();
    void buildBoxes(QWidget *area);
    void buildBottom(QWidget *bar);
    XpCmd *makeCommand(int index, const QString &caption, QWidget *parent, const QRect &geometry);
    void runCommand(int index);
    void refresh();

    AppState &m_state;
    WindowOpener &m_windows;
    SitterList m_list;
    XpCmd *m_cmds[10] = {};
    QLineEdit *m_text1[SitterList::BoxCount] = {}; // null at 7, the notes box
    QPlainTextEdit *m_info = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_recordLabel = nullptr;
    bool m_refreshing = false;
    bool m_closed = false;
};
