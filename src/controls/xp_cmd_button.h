#pragma once
#include "controls/xp_caption_button.h"

// `xpcmdbutton`: the main window's big buttons, with a magenta hover ring and a word-wrapped
// caption in a fixed 81 x 45 box.
class XpCmdButton : public XpCaptionButton
{
    Q_OBJECT
public:
    explicit XpCmdButton(InfoLine *infoLine = nullptr, QWidget *parent = nullptr);

    using XpCaptionButton::buttonFont;
    using XpCaptionButton::foreColor;
    using XpCaptionButton::setButtonFont;
    using XpCaptionButton::setForeColor;
    // Kept for hosts that set it; it holds nothing.
    QString tagCaption() const;
    void setTagCaption(const QString &tag);

    void initProperties(const QFont &containerFont) override;
    void readProperties(const PropertyBag &bag, const QFont &containerFont) override;
    void writeProperties(PropertyBag &bag, const QFont &containerFont) const override;

    // The hint for a caption, empty for captions that have none.
    static QString hintFor(const QString &caption);

protected:
    void updateHint() override;
    void leave() override;
};
