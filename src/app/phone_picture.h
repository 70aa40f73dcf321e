#pragma once
#include <QLabel>

// The small phone picture beside a number: a click reads the number out and/or dials it.
class PhonePicture : public QLabel
{
    Q_OBJECT
public:
    PhonePicture(int index, const QString &accessibleName, QWidget *parent = nullptr);
    int index() const { return m_index; }

    static QPixmap picture(int size);

signals:
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    bool m_pressed = false;
};
