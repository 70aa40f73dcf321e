#pragma once
#include <QDialog>
#include <QHash>
#include <functional>

class AppState;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class XpCmd;

// "Modify words for Hushby.": the phrases of the word file, each checked against the
// pronunciations the recogniser can make. A list the recogniser would not take is never saved.
class WordsWindow : public QDialog
{
    Q_OBJECT
public:
    // Whether the recogniser takes these phrases: empty when it does, otherwise why not.
    using Acceptance = std::function<QString(const QStringList &phrases)>;

    WordsWindow(AppState &state, QWidget *owner);

    void setAcceptance(Acceptance check) { m_accepts = std::move(check); }
    // Where pronunciations are looked up; the recogniser's own dictionary unless a test says otherwise.
    void setDictionary(const QString &path);

    QStringList phrases() const;
    // Words of `phrase` the recogniser cannot pronounce.
    QStringList unpronounceable(const QString &phrase) const;
    QListWidget *lstPhrases() const { return m_list; }
    QLineEdit *txtPhrase() const { return m_phrase; }
    QLabel *lblProblem() const { return m_problem; }

    void addPhrase();
    void changePhrase();
    void removePhrase();
    void save();

signals:
    // The word file was written: the grammar is to be rebuilt from it.
    void saved();

private:
    void load();
    void lookUp(const QStringList &phrases);
    void mark(QListWidgetItem *item);
    void showProblem();
    bool refuse(const QString &phrase);
    void tell(const QString &text);

    AppState &m_state;
    Acceptance m_accepts;
    QString m_dictionary;
    bool m_dictionaryRead = true;
    QHash<QString, bool> m_pronounceable;
    QListWidget *m_list = nullptr;
    QLineEdit *m_phrase = nullptr;
    QLabel *m_problem = nullptr;
    XpCmd *m_add = nullptr;
    XpCmd *m_change = nullptr;
    XpCmd *m_remove = nullptr;
    XpCmd *m_save = nullptr;
    XpCmd *m_cancel = nullptr;
};
