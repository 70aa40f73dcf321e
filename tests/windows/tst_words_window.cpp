// The word dialog and the word file it rewrites.
#include "core/app_state.h"
#include "core/voice_grammar.h"
#include "core/word_list.h"
#include "fakes/recording_fakes.h"
#include "voice/pronunciation.h"
#include "windows/words_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

struct Fixture {
    QTemporaryDir dir;
    CallLog log;
    FakePrompter prompter{log};
    FakeSound sound{log};
    std::unique_ptr<AppState> state;
    QStringList offered; // what the recogniser was asked to take
    QString verdict; // its answer: empty takes the list

    explicit Fixture(const QByteArray &words)
    {
        Services s;
        s.prompter = &prompter;
        s.sound = &sound;
        QDir().mkpath(dir.filePath("data"));
        state = std::make_unique<AppState>(s, dir.filePath("data"), dir.filePath("s.ini"), dir.filePath("pw"));
        state->WordsFilePath = dir.filePath("data/words.txt");
        QFile f(state->WordsFilePath);
        if (f.open(QIODevice::WriteOnly))
            f.write(words);
        QFile dict(dict_path());
        if (dict.open(QIODevice::WriteOnly))
            dict.write("call K AO L\nparents P EH R AH N T S\nhushby HH AH SH B IY\n");
    }
    QString dict_path() const { return dir.filePath("small.dict"); }
    std::unique_ptr<WordsWindow> window()
    {
        auto w = std::make_unique<WordsWindow>(*state, nullptr);
        w->setDictionary(dict_path());
        w->setAcceptance([this](const QStringList &phrases) {
            offered = phrases;
            return verdict;
        });
        return w;
    }
};

const QByteArray kWords = "# comment\r\n<start>=hushby\r\n<start>=call parents\r\nother=line\r\n";

} // namespace

class TestWordsWindow : public QObject
{
    Q_OBJECT
private slots:
    void withPhrases_data();
    void withPhrases();
    void editsAndSaves();
    void unpronounceableIsMarkedAndNeverSaved();
    void recogniserRefusalIsNotSaved();
    void failedWriteIsTold();
    void realRecogniserJudges();
};

void TestWordsWindow::withPhrases_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("replaced where the first stood, rest kept")
        << kWords << QStringList{"a b", "c"} << QByteArray("# comment\r\n<start>=a b\r\n<start>=c\r\nother=line\r\n");
    QTest::newRow("line feeds stay line feeds")
        << QByteArray("x\n<start>=old\ny\n") << QStringList{"new"} << QByteArray("x\n<start>=new\ny\n");
    QTest::newRow("no phrase lines: appended")
        << QByteArray("# only a comment\r\n") << QStringList{"p"} << QByteArray("# only a comment\r\n<start>=p\r\n");
    QTest::newRow("empty file") << QByteArray() << QStringList{"p", " spaced "}
                                << QByteArray("<start>=p\r\n<start>= spaced \r\n");
    QTest::newRow("all removed") << kWords << QStringList{} << QByteArray("# comment\r\nother=line\r\n");
}

void TestWordsWindow::withPhrases()
{
    QFETCH(QByteArray, original);
    QFETCH(QStringList, phrases);
    QFETCH(QByteArray, expected);
    const QByteArray out = WordList::withPhrases(original, phrases);
    QCOMPARE(out, expected);
    // What the grammar reads back is the list, spaces and all.
    QTemporaryDir dir;
    QString why;
    QVERIFY(WordList::save(dir.filePath("w.txt"), out, &why));
    QCOMPARE(VoiceGrammar::readPhraseLines(dir.filePath("w.txt")), phrases);
}

void TestWordsWindow::editsAndSaves()
{
    Fixture f(kWords);
    auto w = f.window();
    QCOMPARE(w->windowTitle(), QString("Modify words for Hushby."));
    QCOMPARE(w->phrases(), (QStringList{"hushby", "call parents"}));
    QSignalSpy saved(w.get(), &WordsWindow::saved);

    w->txtPhrase()->setText("call hushby");
    w->addPhrase();
    w->lstPhrases()->setCurrentRow(0);
    w->txtPhrase()->setText("hushby hushby");
    w->changePhrase();
    w->lstPhrases()->setCurrentRow(1);
    w->removePhrase();
    // A blank phrase is refused where it is typed.
    w->txtPhrase()->setText("   ");
    w->addPhrase();
    QCOMPARE(f.log.with("message:").size(), 1);
    QCOMPARE(w->phrases(), (QStringList{"hushby hushby", "call hushby"}));

    w->save();
    QCOMPARE(f.offered, w->phrases());
    QCOMPARE(saved.count(), 1);
    QCOMPARE(readAll(f.state->WordsFilePath),
             QByteArray("# comment\r\n<start>=hushby hushby\r\n<start>=call hushby\r\nother=line\r\n"));
}

void TestWordsWindow::unpronounceableIsMarkedAndNeverSaved()
{
    Fixture f(kWords);
    auto w = f.window();
    w->txtPhrase()->setText(QString::fromUtf8("call café"));
    w->addPhrase();
    QListWidgetItem *item = w->lstPhrases()->item(2);
    QCOMPARE(w->unpronounceable(item->text()), QStringList{QString::fromUtf8("café")});
    QVERIFY(item->toolTip().contains(QString::fromUtf8("café")));
    QVERIFY(w->lblProblem()->text().contains(QString::fromUtf8("café")));
    QVERIFY(w->unpronounceable("call parents").isEmpty());
    QVERIFY(w->lstPhrases()->item(1)->toolTip().isEmpty());

    QSignalSpy saved(w.get(), &WordsWindow::saved);
    w->save();
    QCOMPARE(saved.count(), 0);
    QCOMPARE(readAll(f.state->WordsFilePath), kWords);
    QVERIFY(f.log.with("message:").last().contains(QString::fromUtf8("café")));

    // Edited in place into something it can say, the list saves.
    item->setText("call parents");
    QVERIFY(item->toolTip().isEmpty());
    w->save();
    QCOMPARE(saved.count(), 1);
}

void TestWordsWindow::recogniserRefusalIsNotSaved()
{
    Fixture f(kWords);
    f.verdict = "no phrase is left";
    auto w = f.window();
    w->lstPhrases()->setCurrentRow(0);
    w->removePhrase();
    w->save();
    QVERIFY(w->result() != QDialog::Accepted);
    QCOMPARE(readAll(f.state->WordsFilePath), kWords);
    QVERIFY(f.log.with("message:").last().contains("no phrase is left"));
}

void TestWordsWindow::failedWriteIsTold()
{
    Fixture f(kWords);
    auto w = f.window();
    // The file's folder is gone: nothing can be written there, and the failure is told.
    f.state->WordsFilePath = f.dir.filePath("missing/words.txt");
    QSignalSpy saved(w.get(), &WordsWindow::saved);
    w->save();
    QCOMPARE(saved.count(), 0);
    QVERIFY(f.log.with("message:").last().contains("could not be saved"));
    QVERIFY(!QFile::exists(f.state->WordsFilePath));
}

// The recogniser itself, not a stand-in: it takes the shipped list and refuses an empty one.
void TestWordsWindow::realRecogniserJudges()
{
    if (!QFile::exists(Pronunciation::defaultDictionaryPath()))
        QSKIP("no acoustic model installed");
    QFile shipped(QDir(qEnvironmentVariable("HUSHBY_SOURCE_DIR")).filePath("resources/words.txt"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    const QByteArray words = shipped.readAll();
    Fixture f(words);
    WordsWindow w(*f.state, nullptr);
    QSignalSpy saved(&w, &WordsWindow::saved);
    w.save();
    QCOMPARE(saved.count(), 1);
    QCOMPARE(VoiceGrammar::readPhraseLines(f.state->WordsFilePath), w.phrases());

    WordsWindow empty(*f.state, nullptr);
    while (empty.lstPhrases()->count())
        delete empty.lstPhrases()->takeItem(0);
    empty.save();
    QCOMPARE(saved.count(), 1);
    QVERIFY(f.log.with("message:").last().contains("does not accept"));
    QVERIFY(!VoiceGrammar::readPhraseLines(f.state->WordsFilePath).isEmpty());
}

QTEST_MAIN(TestWordsWindow)
#include "tst_words_window.moc"
