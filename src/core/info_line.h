#pragma once
#include <QObject>
#include <QString>

// The main window's hint line `LblInfo`. It exists before the main window, so a caption button
// on the splash can empty it while the main window is still being made.
class InfoLine : public QObject
{
    Q_OBJECT
public:
    explicit InfoLine(QObject *parent = nullptr);
    QString text() const;
    void setText(const QString &text);

signals:
    void textChanged(const QString &text);

private:
    QString m_text;
};
