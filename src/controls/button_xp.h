#pragma once
#include "controls/button_xp_faces.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QMetaType>
#include <QRect>
#include <QUrl>
#include <QWidget>
#include <functional>

class EventPump;
class PropertyBag;
class QShortcut;
class QTimer;
class SoundPlayer;

// A picture as the image button keeps it: a bitmap or an icon is drawn; the other kinds are kept
// and laid out but never drawn.
struct ButtonPicture {
    enum Kind { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhancedMetafile = 4 };
    Kind kind = None;
    QImage image;
    QIcon icon;
    QSize natural;

    static ButtonPicture bitmap(const QImage &image) { return {Bitmap, image, {}, image.size()}; }
    static ButtonPicture fromIcon(const QIcon &icon, QSize size) { return {Icon, {}, icon, size}; }
    bool isNone() const { return kind == None; }
    bool operator==(const ButtonPicture &o) const
    {
        return kind == o.kind && image == o.image && icon.cacheKey() == o.icon.cacheKey() && natural == o.natural;
    }
};
Q_DECLARE_METATYPE(ButtonPicture)

// `Button_XP`: a push button with an optional picture beside, above or below its caption, in one
// of five face styles, with hover and pressed looks, a click sound, an optional link and an
// access key. It paints into a retained image that paintEvent only copies.
class ButtonXp : public QWidget
{
    Q_OBJECT
public:
    // Opens a link; true when it was handed on. Tests put a recorder here.
    using LinkOpener = std::function<bool(const QUrl &)>;

    explicit ButtonXp(QWidget *parent = nullptr);
    ~ButtonXp() override;

    void readProperties(const PropertyBag &bag, const QFont &containerFont);
    void writeProperties(PropertyBag &bag, const QFont &containerFont) const;

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int buttonStyle() const { return m_style; }
    void setButtonStyle(int style);
    int picturePosition() const { return m_picturePosition; }
    void setPicturePosition(int position);
    ButtonPicture picture() const { return m_picture; }
    void setPicture(const ButtonPicture &picture);
    ButtonPicture pictureHover() const { return m_pictureHover; }
    void setPictureHover(const ButtonPicture &picture);
    int pictureWidth() const { return m_pictureWidth; }
    void setPictureWidth(int w);
    int pictureHeight() const { return m_pictureHeight; }
    void setPictureHeight(int h);
    int pictureSize() const { return m_pictureSize; }
    void setPictureSize(int size);
    void setButtonEnabled(bool enabled);
    void setButtonFont(const QFont &font);
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    bool showFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool show);
    QString url() const { return m_url; }
    void setUrl(const QString &url);
    quint32 xpColorPressed() const { return m_faces.xpColorPressed; }
    void setXpColorPressed(quint32 c);
    quint32 xpColorHover() const { return m_faces.xpColorHover; }
    void setXpColorHover(quint32 c);
    bool xpDefaultColors() const { return m_faces.xpDefaultColors; }
    void setXpDefaultColors(bool on);
    quint32 backColor() const { return m_faces.backColor; }
    void setBackColor(quint32 c);
    quint32 foreColor() const { return m_faces.foreColor; }
    void setForeColor(quint32 c);
    QString soundClick() const { return m_soundClick; }
    void setSoundClick(const QString &path);
    QString soundOver() const { return m_soundOver; }
    void setSoundOver(const QString &path);
    bool xpShowBorderAlways() const { return m_faces.xpShowBorderAlways; }
    void setXpShowBorderAlways(bool on);
    quint32 maskColor() const { return m_maskColor; }
    void setMaskColor(quint32 c);
    bool transparentBG() const { return m_faces.transparentBG; }
    void setTransparentBG(bool on);
    int bevel() const { return m_faces.bevel; }
    void setBevel(int n);
    int bevelDepth() const { return m_faces.bevelDepth; }
    void setBevelDepth(int s);
    // The host marks its default button; the classic styles draw an extra edge for it.
    void setDefault(bool on);
    static QString version() { return QStringLiteral("030102-155"); }

    void Refresh();
    void GoToURL();
    // A whole left-button press at the middle, as a person's click makes it, with every event
    // and the link: what the accessibility action does.
    void click();

    // The lower-case access key of a caption, or a null character when it has none.
    static QChar accessKeyOf(const QString &caption);
    QChar accessKey() const { return m_accessKey; }

    void setSoundPlayer(SoundPlayer *player) { m_sound = player; }
    void setLinkOpener(LinkOpener opener) { m_openLink = std::move(opener); }
    // Events handled while the pointer enters, as the host's handlers expect.
    void setEventPump(EventPump *events) { m_events = events; }
    // Only web and mail addresses are opened; anything else could start a program.
    static bool isSafeLink(const QUrl &url);

    // Whether picture and caption both lie inside the 4-pixel margin at the current font.
    bool contentFits() const;

    QImage surface() const { return m_surface; }
    QRect pictureBox() const { return m_pictureBox; }
    QRect captionBox() const { return m_captionBox; }
    bool isPressed() const { return m_pressed; }
    bool isHot() const { return m_hot; }
    bool hasFocusFlag() const { return m_focused; }
    // The hover poll: public so tests can tick it without waiting.
    void overTimerTick();
    QTimer *overTimer() const { return m_overTimer; }

signals:
    void clicked();
    void keyDown(int keyCode, int shift);
    void keyPress(int keyAscii);
    void keyUp(int keyCode, int shift);
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    void mouseIn(int shift);
    void mouseOut(int shift);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void press(int button, int shift, float x, float y);
    void release(int button, int shift, float x, float y);
    void resized();
    void layoutContent();
    QSize measureCaption(int width) const;
    void drawPicture(QImage &surface);
    void drawCaption(QImage &surface);
    void updateAccessKey();
    void playClickSound();
    bool inside(float x, float y) const;

    QImage m_surface;
    ButtonXpFaces::Inputs m_faces;
    QString m_caption;
    int m_style = 2;
    int m_picturePosition = 1;
    ButtonPicture m_picture;
    ButtonPicture m_pictureHover;
    ButtonPicture m_current;
    int m_pictureWidth = 32;
    int m_pictureHeight = 32;
    int m_pictureSize = 1;
    QSize m_natural{32, 32};
    int m_mousePointer = 0;
    bool m_showFocusRect = true;
    QString m_url;
    QString m_soundOver = QStringLiteral(".\\resources\\over.wav");
    QString m_soundClick = QStringLiteral(".\\resources\\click.wav");
    bool m_defCurHand = false;
    quint32 m_maskColor = 0;
    QRect m_pictureBox;
    QRect m_captionBox;
    bool m_focused = false;
    bool m_pressed = false;
    bool m_hot = false;
    bool m_keyHeld = false;
    int m_lastButton = 0;
    int m_lastShift = 0;
    float m_lastX = 0;
    float m_lastY = 0;
    QChar m_accessKey;
    QShortcut *m_shortcut = nullptr;
    QTimer *m_overTimer = nullptr;
    SoundPlayer *m_sound = nullptr;
    EventPump *m_events = nullptr;
    LinkOpener m_openLink;
};
