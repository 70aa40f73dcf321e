#pragma once
#include <QPlainTextEdit>

// A multi-line entry box that holds no more than its field stores, a line break counting as
// the two bytes the file keeps for it. Typing, pasting and dropping are held to the limit
// alike: the part of an edit that does not fit is dropped.
class MemoBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MemoBox(int maxBytes, QWidget *parent = nullptr);
    int maxBytes() const { return m_maxBytes; }

private:
    void holdToLimit();

    int m_maxBytes;
    QString m_before;
    bool m_trimming = false;
};
