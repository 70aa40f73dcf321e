#pragma once
#include "controls/xp_cmd.h"

// An `xpcmd` for windows that act as soon as a mouse button goes down on it. pressed() comes
// once for each mouse-down, whichever button, and once for each activation from the keyboard
// (access key, Enter or Space while focused); the click that releasing the mouse makes after a
// mouse-down does not count a second time.
class PressButton : public XpCmd
{
    Q_OBJECT
public:
    explicit PressButton(InfoLine *infoLine = nullptr, QWidget *parent = nullptr);

signals:
    void pressed();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_releasing = false;
};
