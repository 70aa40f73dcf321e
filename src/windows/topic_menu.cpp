#include "windows/topic_menu.h"

#include "controls/button_xp.h"
#include "controls/look.h"
#include "controls/xp_cmd.h"
#include "controls/xp_cmd_but.h"
#include "core/app_state.h"
#include "windows/help_pictures.h"
#include "windows/stored_properties.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace {
constexpr int MenuWidth = 195;
constexpr int MenuHeight = 262;
} // namespace

TopicMenu::TopicMenu(AppState &state, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), m_state(state)
{
    setObjectName("MenuOps");
    setAccessibleName("Select Topic");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(MenuWidth, MenuHeight);

    auto *title = new QLabel("Select Topic", this);
    title->setObjectName("Label1");
    title->setTextFormat(Qt::PlainText);
    title->setFont(Look::titleFont(11));
    QPalette pal = title->palette();
    pal.setColor(QPalette::WindowText, Look::buttonText());
    title->setPalette(pal);
    title->setGeometry(10, 8, 140, 22);

    m_closeBox = new XpCmdBut(m_state.infoLine.get(), this);
    m_closeBox->setObjectName("xpcmdbut1");
    loadButton(m_closeBox, {{"Caption", QString()}}, font());
    m_closeBox->setToolTip("Close");
    m_closeBox->setGeometry(MenuWidth - 9 - 21, 8, 21, 21);
    connect(m_closeBox, &XpCaptionButton::clicked, this, &QWidget::close);

    addButton(3, "About", 38);
    addButton(2, "Your Name && Phone", 74);

    m_dedicated = new ButtonXp(this);
    m_dedicated->setObjectName("Dedicated");
    PropertyBag bag;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    const QList<QPair<const char *, QVariant>> stored = {
        {"Caption", QStringLiteral("      &Dedicated To ...")},
        {"ButtonStyle", 3},
        {"PicturePosition", 2},
        {"Picture", QVariant::fromValue(ButtonPicture::bitmap(HelpPictures::dedicationHeart()))},
        {"OriginalPicSizeW", 28},
        {"OriginalPicSizeH", 35},
        {"PictureWidth", 24},
        {"PictureHeight", 24},
        {"Font", font},
        {"ForeColor", storedColour(Qt::white)},
        {"BackColor", storedColour(QColor(30, 124, 187))},
        {"XPDefaultColors", false},
        {"XPColor_Pressed", storedColour(QColor(255, 192, 255))},
        {"XPColor_Hover", storedColour(QColor(255, 128, 255))},
        {"MaskColor", 0u},
        {"SoundOver", QString()},
        {"SoundClick", QString()},
    };
    for (const auto &kv : stored)
        bag.write(QString::fromLatin1(kv.first), kv.second, QVariant());
    m_dedicated->setGeometry(9, 110, 177, 33);
    m_dedicated->readProperties(bag, this->font());
    // The desktop's stand-in for the stored face runs wider than the face the button was laid
    // out for; a slightly smaller size keeps the heart inside the button.
    while (!m_dedicated->contentFits() && font.pointSizeF() > 7) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        m_dedicated->setButtonFont(font);
    }
    connect(m_dedicated, &ButtonXp::clicked, this, [this] { choose(&TopicMenu::dedicationRequested, false); });

    addButton(4, "Help", 151)->setState(1);
    addButton(0, "Options", 187);
    addButton(5, "Print", 223);
}

XpCmd *TopicMenu::addButton(int index, const QString &caption, int y)
{
    auto *b = new XpCmd(m_state.infoLine.get(), this);
    b->setObjectName(QStringLiteral("xpcmd1(%1)").arg(index));
    loadButton(b, {{"Caption", caption}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
               font());
    b->setGeometry(12, y, MenuWidth - 24, 30);
    m_buttons[index] = b;
    void (TopicMenu::*request)() = nullptr;
    switch (index) {
    case 0: request = &TopicMenu::optionsRequested; break;
    case 2: request = &TopicMenu::personalInfoRequested; break;
    case 3: request = &TopicMenu::aboutRequested; break;
    case 4: request = &TopicMenu::helpRequested; break;
    case 5: request = &TopicMenu::printRequested; break;
    }
    connect(b, &XpCaptionButton::clicked, this, [this, request] { choose(request, true); });
    return b;
}

XpCmd *TopicMenu::button(int index) const
{
    return index >= 0 && index < 6 ? m_buttons[index] : nullptr;
}

void TopicMenu::choose(void (TopicMenu::*request)(), bool sound)
{
    if (sound)
        m_state.PlayWave("bink.wav");
    // Closing only schedules the deletion, so the request below still has its sender.
    close();
    emit(this->*request)();
}

QPoint TopicMenu::dockedPosition(const QRect &main, int leftsWidth, int bottomHeight, const QSize &own)
{
    return {main.left() + leftsWidth, main.top() + main.height() - bottomHeight - own.height()};
}

void TopicMenu::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Look::panel());
    p.setPen(QPen(Look::frame(), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}
