#pragma once
#include <QHash>
#include <QString>
#include <QTabWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class InfoRecord;
class PhonePicture;

// The seven tab pages that show today's information to the sitter.
class TodayInfoPages : public QTabWidget
{
    Q_OBJECT
public:
    explicit TodayInfoPages(QWidget *parent = nullptr);

    // Copies the record's fields into the answer labels and sets Op from FriendsAllowed.
    void showRecord(const InfoRecord &record);
    // Re-selects Op from FriendsAllowed (done on every tab change).
    void selectOp(const InfoRecord &record);

    // The answer label showing a field of the record (by InfoRecord field number).
    QLabel *answerFor(int field) const { return m_answers.value(field); }
    PhonePicture *phonePicture(int index) const { return m_phones[index]; }

    QLabel *Lblphone = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QRadioButton *Option1[2] = {nullptr, nullptr};
    QRadioButton *Op[2] = {nullptr, nullptr};

    // Text as a label shows a stored field: line breaks of the file become line breaks, and a
    // word longer than LongWord characters may break between any two of its characters.
    static QString displayText(const QString &stored);
    static constexpr int LongWord = 24;

signals:
    void phoneClicked(int index);

private:
    QHash<int, QLabel *> m_answers;
    PhonePicture *m_phones[10] = {};
    QButtonGroup *m_opGroup = nullptr;
};
