#pragma once
#include "controls/xp_caption_button.h"

// `xpcmdbut`: the reduced button with a cross, used as the close box of frameless windows.
// It has no fore colour, no caption font of its own and no hint.
class XpCmdBut : public XpCaptionButton
{
    Q_OBJECT
public:
    explicit XpCmdBut(InfoLine *infoLine = nullptr, QWidget *parent = nullptr);

    void initProperties(const QFont &containerFont) override;
    void readProperties(const PropertyBag &bag, const QFont &containerFont) override;
    void writeProperties(PropertyBag &bag, const QFont &containerFont) const override;

protected:
    void leave() override;
    QColor enabledCaptionColour() const override;
    bool hasHoverColour() const override { return false; }
    bool captionFollowsFont() const override { return false; }
};
