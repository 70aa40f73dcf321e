#include "controls/button_xp.h"

#include "controls/property_bag.h"

#include <QHash>
#include <QPixmap>

// The stored properties and their writing side effects.

namespace {

QVariant pictureVariant(const ButtonPicture &p)
{
    return QVariant::fromValue(p);
}

ButtonPicture pictureFrom(const QVariant &v)
{
    if (v.canConvert<ButtonPicture>() && v.metaType() == QMetaType::fromType<ButtonPicture>())
        return v.value<ButtonPicture>();
    if (v.metaType() == QMetaType::fromType<QImage>())
        return ButtonPicture::bitmap(v.value<QImage>());
    if (v.metaType() == QMetaType::fromType<QPixmap>())
        return ButtonPicture::bitmap(v.value<QPixmap>().toImage());
    return {};
}

} // namespace

void ButtonXp::readProperties(const PropertyBag &bag, const QFont &containerFont)
{
    m_faces.backColor = bag.read("BackColor", 0x8000000Fu).toUInt();
    m_faces.foreColor = bag.read("ForeColor", 0x80000012u).toUInt();
    m_showFocusRect = bag.read("ShowFocusRect", true).toBool();
    m_caption = bag.read("Caption", objectName()).toString();
    m_picturePosition = bag.read("PicturePosition", 1).toInt();
    m_style = bag.read("ButtonStyle", 2).toInt();
    m_faces.style = m_style;
    m_current = pictureFrom(bag.read("Picture", QVariant()));
    m_pictureWidth = bag.read("PictureWidth", 32).toInt();
    m_pictureHeight = bag.read("PictureHeight", 32).toInt();
    m_pictureSize = bag.read("PictureSize", 1).toInt();
    m_natural = QSize(bag.read("OriginalPicSizeW", 32).toInt(), bag.read("OriginalPicSizeH", 32).toInt());
    QFont f = bag.read("Font", containerFont).value<QFont>();
    setFont(f);
    m_pictureHover = pictureFrom(bag.read("PictureHover", QVariant()));
    m_picture = pictureFrom(bag.read("Picture", QVariant()));
    setEnabled(bag.read("Enabled", true).toBool());
    setMousePointer(bag.read("MousePointer", 0).toInt());
    m_url = bag.read("URL", QString()).toString();
    m_faces.xpColorPressed = bag.read("XPColor_Pressed", 0x80000014u).toUInt();
    m_faces.xpColorHover = bag.read("XPColor_Hover", 0x80000016u).toUInt();
    m_faces.xpDefaultColors = bag.read("XPDefaultColors", true).toBool();
    m_soundOver = bag.read("SoundOver", QStringLiteral(".\\resources\\over.wav")).toString();
    m_soundClick = bag.read("SoundClick", QStringLiteral(".\\resources\\click.wav")).toString();
    m_defCurHand = bag.read("DefCurHand", false).toBool();
    m_faces.xpShowBorderAlways = bag.read("XPShowBorderAlways", false).toBool();
    m_maskColor = bag.read("MaskColor", 0u).toUInt();
    m_faces.transparentBG = bag.read("TransparentBG", false).toBool();
    m_faces.bevel = bag.read("BEVEL", 1).toInt();
    m_faces.bevelDepth = bag.read("BEVELDEPTH", 8).toInt();
    updateAccessKey();
    resized();
}

void ButtonXp::writeProperties(PropertyBag &bag, const QFont &containerFont) const
{
    bag.write("BackColor", m_faces.backColor, 0x8000000Fu);
    bag.write("ForeColor", m_faces.foreColor, 0x80000012u);
    bag.write("ShowFocusRect", m_showFocusRect, true);
    bag.write("Caption", m_caption, objectName());
    bag.write("PicturePosition", m_picturePosition, 1);
    bag.write("ButtonStyle", m_style, 2);
    if (!m_current.isNone())
        bag.write("Picture", pictureVariant(m_current), QVariant());
    bag.write("PictureWidth", m_pictureWidth, 32);
    bag.write("PictureHeight", m_pictureHeight, 32);
    bag.write("PictureSize", m_pictureSize, 1);
    bag.write("OriginalPicSizeW", m_natural.width(), 32);
    bag.write("OriginalPicSizeH", m_natural.height(), 32);
    bag.write("Font", font(), containerFont);
    if (!m_pictureHover.isNone())
        bag.write("PictureHover", pictureVariant(m_pictureHover), QVariant());
    bag.write("Enabled", isEnabled(), true);
    bag.write("MousePointer", m_mousePointer, 0);
    bag.write("URL", m_url, QString());
    bag.write("XPColor_Pressed", m_faces.xpColorPressed, 0x80000014u);
    bag.write("XPColor_Hover", m_faces.xpColorHover, 0x80000016u);
    bag.write("XPDefaultColors", m_faces.xpDefaultColors, true);
    bag.write("SoundOver", m_soundOver, QStringLiteral(".\\resources\\over.wav"));
    bag.write("SoundClick", m_soundClick, QStringLiteral(".\\resources\\click.wav"));
    bag.write("DefCurHand", m_defCurHand, false);
    bag.write("XPShowBorderAlways", m_faces.xpShowBorderAlways, false);
    bag.write("MaskColor", m_maskColor, 0u);
    bag.write("TransparentBG", m_faces.transparentBG, false);
    bag.write("BEVEL", m_faces.bevel, 1);
    bag.write("BEVELDEPTH", m_faces.bevelDepth, 8);
}

void ButtonXp::setCaption(const QString &caption)
{
    m_caption = caption;
    updateAccessKey();
    Refresh();
}

void ButtonXp::setButtonStyle(int style)
{
    m_style = style;
    m_faces.style = style;
    if (style == 3)
        m_faces.transparentBG = false;
    resized();
}

void ButtonXp::setPicturePosition(int position)
{
    m_picturePosition = position;
    Refresh();
}

void ButtonXp::setPicture(const ButtonPicture &picture)
{
    m_picture = picture;
    m_current = picture;
    m_natural = picture.isNone() ? QSize(32, 32) : picture.natural;
    if (m_pictureSize == 2) {
        m_pictureWidth = m_natural.width();
        m_pictureHeight = m_natural.height();
    }
    Refresh();
}

void ButtonXp::setPictureHover(const ButtonPicture &picture)
{
    m_pictureHover = picture;
}

void ButtonXp::setPictureWidth(int w)
{
    m_pictureWidth = w;
    Refresh();
}

void ButtonXp::setPictureHeight(int h)
{
    m_pictureHeight = h;
    Refresh();
}

void ButtonXp::setPictureSize(int size)
{
    m_pictureSize = size;
    if (size == 0)
        m_pictureWidth = m_pictureHeight = 16;
    else if (size == 1)
        m_pictureWidth = m_pictureHeight = 32;
    else if (size == 2) {
        m_pictureWidth = m_picture.isNone() ? 32 : m_natural.width();
        m_pictureHeight = m_picture.isNone() ? 32 : m_natural.height();
    }
    Refresh();
}

void ButtonXp::setButtonEnabled(bool enabled)
{
    setEnabled(enabled);
    Refresh();
}

void ButtonXp::setButtonFont(const QFont &f)
{
    QFont copy;
    copy.setFamily(f.family());
    copy.setPointSizeF(f.pointSizeF() > 0 ? f.pointSizeF() : QFont().pointSizeF());
    copy.setBold(f.bold());
    copy.setItalic(f.italic());
    copy.setUnderline(f.underline());
    copy.setStrikeOut(f.strikeOut());
    setFont(copy);
}

void ButtonXp::setMousePointer(int pointer)
{
    static const QHash<int, Qt::CursorShape> shapes
        = {{1, Qt::ArrowCursor},      {2, Qt::CrossCursor},    {3, Qt::IBeamCursor},        {5, Qt::SizeAllCursor},
           {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor},  {8, Qt::SizeFDiagCursor},    {9, Qt::SizeHorCursor},
           {10, Qt::UpArrowCursor},   {11, Qt::WaitCursor},    {12, Qt::ForbiddenCursor},   {13, Qt::BusyCursor},
           {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}, {99, Qt::PointingHandCursor}};
    m_mousePointer = pointer;
    if (shapes.contains(pointer))
        setCursor(shapes.value(pointer));
    else
        unsetCursor();
}

void ButtonXp::setShowFocusRect(bool show)
{
    m_showFocusRect = show;
    Refresh();
}
void ButtonXp::setUrl(const QString &url)
{
    m_url = url;
}
void ButtonXp::setXpColorPressed(quint32 c)
{
    m_faces.xpColorPressed = c;
}
void ButtonXp::setXpColorHover(quint32 c)
{
    m_faces.xpColorHover = c;
}
void ButtonXp::setXpDefaultColors(bool on)
{
    m_faces.xpDefaultColors = on;
}
void ButtonXp::setBackColor(quint32 c)
{
    m_faces.backColor = c;
    Refresh();
}
void ButtonXp::setForeColor(quint32 c)
{
    m_faces.foreColor = c;
    Refresh();
}
void ButtonXp::setSoundClick(const QString &path)
{
    m_soundClick = path;
}
void ButtonXp::setSoundOver(const QString &path)
{
    m_soundOver = path;
}
void ButtonXp::setXpShowBorderAlways(bool on)
{
    m_faces.xpShowBorderAlways = on;
}
void ButtonXp::setMaskColor(quint32 c)
{
    m_maskColor = c;
    Refresh();
}
void ButtonXp::setTransparentBG(bool on)
{
    m_faces.transparentBG = on;
    Refresh();
}
void ButtonXp::setBevel(int n)
{
    m_faces.bevel = n;
    Refresh();
}
void ButtonXp::setBevelDepth(int s)
{
    m_faces.bevelDepth = s;
    Refresh();
}
void ButtonXp::setDefault(bool on)
{
    m_faces.isDefault = on;
    Refresh();
}
