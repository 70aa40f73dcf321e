#pragma once
#include "controls/xp_caption_button.h"

// `xpcmd`: the general caption button. Its hints tell the timing buttons apart.
class XpCmd : public XpCaptionButton
{
    Q_OBJECT
public:
    explicit XpCmd(InfoLine *infoLine = nullptr, QWidget *parent = nullptr);

    using XpCaptionButton::buttonFont;
    using XpCaptionButton::foreColor;
    using XpCaptionButton::setButtonFont;
    using XpCaptionButton::setForeColor;
    QString tagCaption() const;
    void setTagCaption(const QString &tag);

    void initProperties(const QFont &containerFont) override;
    void readProperties(const PropertyBag &bag, const QFont &containerFont) override;
    void writeProperties(PropertyBag &bag, const QFont &containerFont) const override;

    static QString startHint();
    static QString endHint();

protected:
    void updateHint() override;
    void leave() override;

private:
    QString m_tagCaption;
};
