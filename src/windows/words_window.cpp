#include "windows/words_window.h"

#include "controls/look.h"
#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "core/voice_grammar.h"
#include "core/word_list.h"
#include "services/prompter.h"
#include "voice/command_decoder.h"
#include "voice/pronunciation.h"
#include "windows/stored_properties.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>

namespace {

const QString kTitle = QStringLiteral("Modify words for Hushby.");

QString decoderVerdict(const QStringList &phrases)
{
    CommandDecoder decoder;
    if (decoder.load(phrases))
        return {};
    return decoder.errorString();
}

} // namespace

WordsWindow::WordsWindow(AppState &state, QWidget *owner)
    : QDialog(owner), m_state(state), m_accepts(decoderVerdict), m_dictionary(Pronunciation::defaultDictionaryPath())
{
    setObjectName("WordsDialog");
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    setModal(true);
    setFixedSize(440, 372);

    auto *intro = new QLabel("Phrases the program listens for:", this);
    intro->setObjectName("lblIntro");
    intro->setGeometry(12, 10, 300, 18);
    m_list = new QListWidget(this);
    m_list->setObjectName("lstPhrases");
    m_list->setAccessibleName("Phrases the program listens for:");
    m_list->setGeometry(12, 30, 290, 246);
    m_list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    intro->setBuddy(m_list);

    auto *caption = new QLabel("Phrase:", this);
    caption->setObjectName("lblPhrase");
    caption->setGeometry(12, 288, 52, 22);
    m_phrase = new QLineEdit(this);
    m_phrase->setObjectName("txtPhrase");
    m_phrase->setAccessibleName("Phrase:");
    m_phrase->setGeometry(66, 288, 236, 23);
    caption->setBuddy(m_phrase);

    m_problem = new QLabel(this);
    m_problem->setObjectName("lblProblem");
    m_problem->setWordWrap(true);
    m_problem->setTextFormat(Qt::PlainText);
    QPalette warn = m_problem->palette();
    warn.setColor(QPalette::WindowText, Look::warningText());
    m_problem->setPalette(warn);
    m_problem->setGeometry(12, 318, 416, 44);

    auto makeButton = [this](const char *name, const QString &text, int top) {
        auto *b = new XpCmd(m_state.infoLine.get(), this);
        b->setObjectName(name);
        loadButton(b,
                   {{"Caption", text}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
                   font());
        b->setGeometry(316, top, 110, 28);
        return b;
    };
    m_add = makeButton("cmdAdd", "&Add", 30);
    m_change = makeButton("cmdChange", "&Change", 66);
    m_remove = makeButton("cmdRemove", "&Remove", 102);
    m_save = makeButton("cmdSave", "&Save", 212);
    m_save->setState(1);
    m_cancel = makeButton("cmdCancel", "Cancel", 248);

    connect(m_add, &XpCaptionButton::clicked, this, &WordsWindow::addPhrase);
    connect(m_change, &XpCaptionButton::clicked, this, &WordsWindow::changePhrase);
    connect(m_remove, &XpCaptionButton::clicked, this, &WordsWindow::removePhrase);
    connect(m_save, &XpCaptionButton::clicked, this, &WordsWindow::save);
    connect(m_cancel, &XpCaptionButton::clicked, this, &QDialog::reject);
    connect(m_phrase, &QLineEdit::returnPressed, this, &WordsWindow::addPhrase);
    connect(m_list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            m_phrase->setText(item->text());
        showProblem();
    });
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        lookUp({item->text()});
        mark(item);
        showProblem();
    });

    load();
}

void WordsWindow::setDictionary(const QString &path)
{
    m_dictionary = path;
    m_pronounceable.clear();
    m_dictionaryRead = true;
    lookUp(phrases());
    for (int i = 0; i < m_list->count(); ++i)
        mark(m_list->item(i));
    showProblem();
}

void WordsWindow::load()
{
    m_state.ensureWordsFile();
    const QStringList list = VoiceGrammar::readPhraseLines(m_state.WordsFilePath);
    lookUp(list);
    const QSignalBlocker quiet(m_list);
    for (const QString &p : list) {
        auto *item = new QListWidgetItem(p, m_list);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        mark(item);
    }
    if (m_list->count())
        m_list->setCurrentRow(0);
    showProblem();
}

QStringList WordsWindow::phrases() const
{
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}

// One look-up for many words: each one reads the whole dictionary.
void WordsWindow::lookUp(const QStringList &list)
{
    QSet<QString> words;
    for (const QString &p : list)
        for (const QString &w : Pronunciation::wordsOfPhrase(p))
            if (!m_pronounceable.contains(w))
                words.insert(w);
    if (words.isEmpty())
        return;
    QStringList missing;
    bool ok = false;
    Pronunciation::lookup(words, m_dictionary, &missing, &ok);
    if (!ok) {
        m_dictionaryRead = false;
        return;
    }
    for (const QString &w : words)
        m_pronounceable.insert(w, !missing.contains(w));
}

QStringList WordsWindow::unpronounceable(const QString &phrase) const
{
    QStringList out;
    for (const QString &w : Pronunciation::wordsOfPhrase(phrase))
        if (!m_pronounceable.value(w, true) && !out.contains(w))
            out << w;
    return out;
}

void WordsWindow::mark(QListWidgetItem *item)
{
    const QStringList bad = unpronounceable(item->text());
    const QString note = bad.isEmpty() ? QString() : "Cannot pronounce: " + bad.join(", ");
    const QSignalBlocker quiet(m_list);
    item->setForeground(bad.isEmpty() ? palette().color(QPalette::Text) : Look::alertText());
    item->setToolTip(note);
    item->setData(Qt::AccessibleDescriptionRole, note);
}

void WordsWindow::showProblem()
{
    if (!m_dictionaryRead) {
        m_problem->setText("The pronouncing dictionary could not be read, so the phrases cannot be checked.");
        return;
    }
    QListWidgetItem *item = m_list->currentItem();
    const QStringList bad = item ? unpronounceable(item->text()) : QStringList();
    int marked = 0;
    for (int i = 0; i < m_list->count(); ++i)
        marked += unpronounceable(m_list->item(i)->text()).isEmpty() ? 0 : 1;
    QString text;
    if (!bad.isEmpty())
        text = "Cannot pronounce: " + bad.join(", ") + ". ";
    if (marked)
        text += QStringLiteral("%1 phrase(s) in red cannot be recognised.").arg(marked);
    m_problem->setText(text);
}

bool WordsWindow::refuse(const QString &phrase)
{
    const QString why = WordList::phraseProblem(phrase);
    if (why.isEmpty())
        return false;
    tell(why);
    return true;
}

void WordsWindow::addPhrase()
{
    const QString phrase = m_phrase->text();
    if (refuse(phrase))
        return;
    lookUp({phrase});
    auto *item = new QListWidgetItem(phrase);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    {
        const QSignalBlocker quiet(m_list);
        m_list->addItem(item);
    }
    mark(item);
    m_list->setCurrentItem(item);
}

void WordsWindow::changePhrase()
{
    QListWidgetItem *item = m_list->currentItem();
    const QString phrase = m_phrase->text();
    if (!item || refuse(phrase))
        return;
    lookUp({phrase});
    {
        const QSignalBlocker quiet(m_list);
        item->setText(phrase);
    }
    mark(item);
    showProblem();
}

void WordsWindow::removePhrase()
{
    delete m_list->takeItem(m_list->currentRow());
    showProblem();
}

void WordsWindow::save()
{
    const QStringList list = phrases();
    for (const QString &p : list)
        if (refuse(p))
            return;
    QStringList bad;
    for (const QString &p : list)
        for (const QString &w : unpronounceable(p))
            if (!bad.contains(w))
                bad << w;
    if (!bad.isEmpty()) {
        tell("The word list was not saved: the recogniser cannot pronounce " + bad.join(", ")
             + ". Change or remove the phrases marked in red.");
        return;
    }
    if (m_accepts) {
        const QString why = m_accepts(list);
        if (!why.isEmpty()) {
            tell("The word list was not saved: the speech recogniser does not accept it.\r\n" + why);
            return;
        }
    }
    QByteArray original;
    QFile current(m_state.WordsFilePath);
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly)) {
            tell("The word list was not saved: " + current.errorString());
            return;
        }
        original = current.readAll();
        current.close();
    }
    QString why;
    if (!WordList::save(m_state.WordsFilePath, WordList::withPhrases(original, list), &why)) {
        tell("The word list could not be saved: " + why);
        return;
    }
    m_state.PlayWave("push.wav");
    emit saved();
    accept();
}

void WordsWindow::tell(const QString &text)
{
    if (m_state.services.prompter)
        m_state.services.prompter->message(text, kTitle, Prompter::Icon::Warning);
}
