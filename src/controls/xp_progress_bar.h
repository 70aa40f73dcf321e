#pragma once
#include <QImage>
#include <QWidget>

class Prompter;
class PropertyBag;

// `Xp_ProgressBar`: a rounded blue frame filled from the left with small shaded blocks.
// Style 0 fills the bar in proportion to Value between Min and Max; any other style moves a
// three-block marker one step per Value instead. Drawing is incremental onto a retained
// surface; a resize, a fall of Value, Value at Min or (for the marker) Value at Max clear it.
class XpProgressBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int LookCount = 8;

    // Refused values are reported through prompter; null keeps them silent.
    explicit XpProgressBar(Prompter *prompter = nullptr, QWidget *parent = nullptr);
    ~XpProgressBar() override;

    void setPrompter(Prompter *prompter);

    // "Min", "Max" and "Value". Setters refuse values out of range with a message box and
    // keep the old value; only Value draws.
    int minimum() const;
    void setMinimum(int min);
    int maximum() const;
    void setMaximum(int max);
    int value() const;
    void setValue(int value);

    // "Style": 0 proportional blocks, anything else the moving marker. Takes effect at the
    // next Value.
    int barStyle() const;
    void setBarStyle(int style);

    // "ProgressLook": 0 green, 1 blue, 2 metallic blue-green, 3 gold, 4 muted green, 5 grey,
    // 6 yellow-orange, 7 orange-red. Other numbers are kept but leave the blocks as they were.
    // Until a look is applied the blocks are invisible; readProperties always applies one.
    int progressLook() const;
    void setProgressLook(int look);

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // What the control shows.
    QImage surface() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void refuse(const QString &text);
    void resetBar();
    void advanceBlocks();
    void drawEndBlock();
    void stepMarker();
    void applyLook();
    void paintPicture(const QImage &picture, int x, int w);
    qint64 units() const;

    Prompter *m_prompter = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    int m_style = 0;
    int m_look = 0;

    QImage m_surface;
    QImage m_blocks[3]; // pale, medium, full
    QImage m_blank;

    // Taken at the last reset.
    int m_w = 0;
    int m_blockW = 0;
    int m_blockH = 0;
    int m_nextX = 4;
    qint64 m_lastUnits = 0; // the highest Value - Min drawn since the last reset
    bool m_endReached = false;
    int m_markerX = 4;
};
