#pragma once
#include <QKeyEvent>
#include <QStringList>
#include <QWindow>

// A window that writes down every key press and release it receives.
class KeyRecordingWindow : public QWindow
{
public:
    QStringList keys;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys << QStringLiteral("press:%1").arg(e->key()); }
    void keyReleaseEvent(QKeyEvent *e) override { keys << QStringLiteral("release:%1").arg(e->key()); }
};
