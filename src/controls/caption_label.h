#pragma once
#include <QColor>
#include <QWidget>

// The caption laid over a caption button: transparent, horizontally centred text with the
// ampersand convention ("&x" underlines x, "&&" shows one "&"). Either it sizes itself to one
// line of text, or it is a fixed box in which the text wraps at words.
class CaptionLabel : public QWidget
{
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    QColor colour() const;
    void setColour(const QColor &colour);
    // A fixed box wraps words; an empty size makes the label follow its text.
    void setFixedBox(const QSize &box);
    bool isWrapping() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int textFlags() const;
    void fitToText();

    QString m_text;
    QColor m_colour;
    QSize m_box;
};
