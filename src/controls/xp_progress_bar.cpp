#include "controls/xp_progress_bar.h"

#include "controls/property_bag.h"
#include "controls/xp_progress_bar_accessible.h"
#include "services/prompter.h"

#include <QAccessible>
#include <QPainter>

// The pictures are compiled into a static library; nothing else would keep them linked in.
static void initProgressBarResources()
{
    Q_INIT_RESOURCE(progress_bar);
}

namespace {

constexpr int kBlockW = 8;
constexpr int kBlockH = 10;
constexpr int kStart = 4;
constexpr int kPitch = 10; // a block and its gap
constexpr int kTop = 3;

const char *const kLookNames[XpProgressBar::LookCount]
    = {"master", "blue", "bluemet", "goldmet", "grmet", "greymet", "orangemet", "redmet"};

struct Pictures {
    QImage frame;
    QImage looks[XpProgressBar::LookCount][3];
};

const Pictures &pictures()
{
    static const Pictures loaded = [] {
        initProgressBarResources();
        Pictures p;
        p.frame
            = QImage(QStringLiteral(":/controls/pictures/progress_frame.png")).convertToFormat(QImage::Format_RGB32);
        for (int look = 0; look < XpProgressBar::LookCount; ++look) {
            const QImage strip(
                QStringLiteral(":/controls/pictures/progress_%1.png").arg(QLatin1String(kLookNames[look])));
            for (int i = 0; i < 3; ++i)
                p.looks[look][i] = strip.copy(i * kBlockW, 0, kBlockW, kBlockH).convertToFormat(QImage::Format_RGB32);
        }
        return p;
    }();
    return loaded;
}

void installAccessibleFactory()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&XpProgressBarAccessible::factory);
        installed = true;
    }
}

} // namespace

XpProgressBar::XpProgressBar(Prompter *prompter, QWidget *parent) : QWidget(parent), m_prompter(prompter)
{
    installAccessibleFactory();
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (QImage &block : m_blocks) {
        block = QImage(kBlockW, kBlockH, QImage::Format_ARGB32_Premultiplied);
        block.fill(Qt::transparent);
    }
    m_blank = QImage(kBlockW, kBlockH, QImage::Format_RGB32);
    m_blank.fill(Qt::white);
    resetBar();
}

XpProgressBar::~XpProgressBar() = default;

void XpProgressBar::setPrompter(Prompter *prompter)
{
    m_prompter = prompter;
}

int XpProgressBar::minimum() const
{
    return m_min;
}

void XpProgressBar::setMinimum(int min)
{
    if (min > m_max)
        refuse(QStringLiteral("Minimum can NOT be biger than maximum !"));
    else if (min < 0)
        refuse(QStringLiteral("Minimum can NOT be smaller then 0 !"));
    else
        m_min = min;
}

int XpProgressBar::maximum() const
{
    return m_max;
}

void XpProgressBar::setMaximum(int max)
{
    if (max < m_min)
        refuse(QStringLiteral("Maximum can NOT be smaller than minimum !"));
    else
        m_max = max;
}

int XpProgressBar::value() const
{
    return m_value;
}

void XpProgressBar::setValue(int value)
{
    if (value > m_max) {
        refuse(QStringLiteral("Value can NOT be higher than Maximum !"));
        return;
    }
    if (value < m_min) {
        refuse(QStringLiteral("Value can NOT be smaller than minimum !"));
        return;
    }
    m_value = value;
    // A hidden control gets its resize event only when shown; it still starts again here.
    if (m_surface.size() != size())
        resetBar();
    if (m_style == 0)
        advanceBlocks();
    else if (m_value == m_max)
        resetBar();
    else
        stepMarker();
    update();

    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_value);
        QAccessible::updateAccessibility(&event);
    }
}

int XpProgressBar::barStyle() const
{
    return m_style;
}

void XpProgressBar::setBarStyle(int style)
{
    m_style = style;
}

int XpProgressBar::progressLook() const
{
    return m_look;
}

void XpProgressBar::setProgressLook(int look)
{
    m_look = look;
    applyLook();
}

void XpProgressBar::readProperties(const PropertyBag &bag)
{
    // Stored values are trusted: no checks, no drawing.
    m_min = bag.read(QStringLiteral("Min"), 0).toInt();
    m_max = bag.read(QStringLiteral("Max"), 100).toInt();
    m_value = bag.read(QStringLiteral("Value"), 0).toInt();
    m_style = bag.read(QStringLiteral("Style"), 0).toInt();
    setProgressLook(bag.read(QStringLiteral("ProgressLook"), 0).toInt());
    // The host sizes the control after loading, which leaves an empty frame whatever Value says.
    resetBar();
}

void XpProgressBar::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("Min"), m_min, 0);
    bag.write(QStringLiteral("Max"), m_max, 100);
    bag.write(QStringLiteral("Value"), m_value, 0);
    bag.write(QStringLiteral("Style"), m_style, 0);
    bag.write(QStringLiteral("ProgressLook"), m_look, 0);
}

QImage XpProgressBar::surface() const
{
    return m_surface;
}

void XpProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void XpProgressBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_surface.size() != size())
        resetBar();
}

void XpProgressBar::refuse(const QString &text)
{
    if (m_prompter)
        m_prompter->message(text, QStringLiteral("Error"), Prompter::Icon::Critical);
}

qint64 XpProgressBar::units() const
{
    return qint64(m_value) - m_min;
}

void XpProgressBar::resetBar()
{
    const int w = width();
    const int h = height();
    m_surface = QImage(size(), QImage::Format_RGB32);
    if (!m_surface.isNull()) {
        m_surface.fill(Qt::white);
        if (w >= 6 && h >= 6) {
            // The frame's corners keep their size, its edges and middle stretch.
            const QImage &f = pictures().frame;
            QPainter p(&m_surface);
            p.drawImage(QRect(0, 0, 3, 3), f, QRect(0, 0, 3, 3));
            p.drawImage(QRect(w - 3, 0, 3, 3), f, QRect(56, 0, 3, 3));
            p.drawImage(QRect(w - 3, h - 3, 3, 3), f, QRect(56, 10, 3, 3));
            p.drawImage(QRect(0, h - 3, 3, 3), f, QRect(0, 10, 3, 3));
            p.drawImage(QRect(3, 0, w - 6, 3), f, QRect(3, 0, 12, 3));
            p.drawImage(QRect(w - 3, 3, 3, h - 6), f, QRect(56, 3, 3, 3));
            p.drawImage(QRect(3, h - 3, w - 6, 3), f, QRect(3, 10, 1, 3));
            p.drawImage(QRect(0, 3, 3, h - 6), f, QRect(0, 3, 3, 3));
            p.drawImage(QRect(3, 3, w - 6, h - 6), f, QRect(4, 4, 51, 7));
        }
    }
    m_markerX = kStart;
    m_nextX = kStart;
    m_lastUnits = units();
    m_w = w;
    m_blockH = h - 6;
    m_blockW = m_blocks[0].width();
    m_endReached = false;
    update();
}

void XpProgressBar::advanceBlocks()
{
    if (m_nextX == kStart)
        resetBar();
    const qint64 u = units();
    if (u < m_lastUnits)
        resetBar();
    m_lastUnits = u;
    if (m_value <= m_min) {
        resetBar();
        return;
    }
    const qint64 range = qint64(m_max) - m_min;
    if (range <= 0)
        return; // no scale to draw on
    // Every block whose start lies before the value's position, however the value got there:
    // a jump draws all the way, a repeat draws nothing.
    const double end = double(m_w) * double(u) / double(range);
    while (!m_endReached && m_nextX < end) {
        if (m_nextX + kPitch >= m_w) {
            drawEndBlock();
            break;
        }
        paintPicture(m_blocks[2], m_nextX, m_blockW);
        m_nextX += kPitch;
    }
}

void XpProgressBar::drawEndBlock()
{
    const int rest = (m_w - 3) - m_nextX;
    if (rest > 0)
        paintPicture(m_blocks[2], m_nextX, rest);
    m_endReached = true;
}

void XpProgressBar::stepMarker()
{
    const int p = m_markerX;
    const int w = m_blockW / 2;
    // At 2 and 4 the marker has just started, with nothing behind it to rub out.
    if (p != 2 && p != kStart)
        paintPicture(m_blank, p - 5, w);
    if (p + 20 < m_w)
        paintPicture(m_blocks[2], p + 10, w);
    if (p + 10 < m_w)
        paintPicture(m_blocks[1], p + 5, w);
    if (p + 5 < m_w)
        paintPicture(m_blocks[0], p, w);
    if (p + 5 >= m_w) {
        const int rest = (m_w - 3) - p;
        if (rest > 0)
            paintPicture(m_blank, p, rest);
        m_markerX = 2;
    } else {
        m_markerX = p + 5;
    }
}

void XpProgressBar::applyLook()
{
    if (m_look < 0 || m_look >= LookCount)
        return;
    for (int i = 0; i < 3; ++i)
        m_blocks[i] = pictures().looks[m_look][i];
}

void XpProgressBar::paintPicture(const QImage &picture, int x, int w)
{
    if (m_surface.isNull() || w <= 0 || m_blockH <= 0)
        return;
    QPainter p(&m_surface);
    p.drawImage(QRect(x, kTop, w, m_blockH), picture);
}
