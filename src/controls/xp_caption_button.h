#pragma once
#include "controls/caption_strip.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

class CaptionLabel;
class InfoLine;
class PropertyBag;
class QShortcut;
class QTimer;

// The common body of the three caption buttons: a picture stretched from a five-cell strip onto
// a retained surface, a caption over it, hover tracking by a 10 ms poll of the pointer, and the
// events a host window handles. The variants differ in strip, caption box, hint texts, the order
// of steps when the pointer leaves, and which properties they carry.
class XpCaptionButton : public QWidget
{
    Q_OBJECT
public:
    ~XpCaptionButton() override;

    QString caption() const;
    void setCaption(const QString &caption);
    int state() const;
    // 1 rests on the default cell, 0 on the normal one; other values keep the resting cell.
    void setState(int state);

    // The hint line this button writes to; null when the program has none.
    void setInfoLine(InfoLine *line);
    InfoLine *infoLine() const;

    virtual void initProperties(const QFont &containerFont) = 0;
    virtual void readProperties(const PropertyBag &bag, const QFont &containerFont) = 0;
    virtual void writeProperties(PropertyBag &bag, const QFont &containerFont) const = 0;

    // What the caption shows, without the access-key marks: "Help && &Options" -> "Help & Options".
    static QString plainCaption(const QString &caption);

    QImage surface() const;
    CaptionLabel *captionLabel() const;
    int restingCell() const;
    int paintedCell() const;

    static QColor hoverCaptionColour();
    static QColor disabledCaptionColour();

    // A whole left-button press at the middle, as a person's click makes it: mouseDown, mouseUp,
    // clicked. Hosts act on any of the three, so a press from outside the mouse must raise them all.
    void click();

signals:
    void clicked();
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    void mouseOut();
    void keyDown(int keyCode, int shift);
    void keyPress(int keyAscii);
    void keyUp(int keyCode, int shift);

protected:
    XpCaptionButton(CaptionStrip::Variant variant, InfoLine *infoLine, QWidget *parent);

    void paintCell(int cell);
    void paintResting();
    void placeCaption();
    void setHint(const QString &text);
    void stopHover();
    void restoreCaptionColour();
    void applyEnabledLook();

    // ForeColor, Font and TagCaption: kept here, made public by the variants that have them.
    quint32 foreColor() const;
    void setForeColor(quint32 colour);
    QFont buttonFont() const;
    void setButtonFont(const QFont &font);
    void applyCaptionFont(const QFont &font);

    virtual void updateHint() { }
    virtual void leave() = 0;
    virtual QColor enabledCaptionColour() const;
    virtual bool hasHoverColour() const { return true; }
    // Whether the caption shows in the control's own font (the close box keeps a fixed one).
    virtual bool captionFollowsFont() const { return true; }

    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

    CaptionLabel *m_label = nullptr;
    QTimer *m_hoverTimer = nullptr;

private:
    void press(QMouseEvent *event, bool armClick);
    void hoverTick();
    bool inBounds(const QPointF &pos) const;
    void updateShortcut();
    void updateAccessibleName();

    QImage m_strip;
    QImage m_surface;
    QPointer<InfoLine> m_infoLine;
    QShortcut *m_shortcut = nullptr;
    QString m_caption;
    int m_state = 0;
    quint32 m_foreColor = 0;
    QFont m_font;
    int m_restingCell = CaptionStrip::Normal;
    int m_paintedCell = -1;
    bool m_clickArmed = false;
};
