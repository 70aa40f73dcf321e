#include "core/voice_grammar.h"
#include "windows/help_viewer.h"

#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

QString shipped(const QString &name)
{
    return QDir(qEnvironmentVariable("HUSHBY_SOURCE_DIR")).filePath("resources/" + name);
}

QString shownText(const HelpViewer &v)
{
    return v.browser()->toPlainText();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestHelpViewer : public QObject
{
    Q_OBJECT
private slots:
    void topic_opens_its_section_data();
    void topic_opens_its_section();
    void every_link_leads_to_a_page();
    void voice_page_lists_every_phrase_of_the_word_list();
    void phrases_are_shown_as_text_not_markup();
    void missing_or_broken_file_says_so_with_its_path_data();
    void missing_or_broken_file_says_so_with_its_path();
    void back_and_forward_retrace_the_pages();
    void find_moves_on_to_the_page_that_has_the_text();
    void print_goes_through_the_dialog();
    void only_web_and_mail_links_leave_the_help();
};

void TestHelpViewer::topic_opens_its_section_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("heading");
    QTest::newRow("setup wizard") << 1 << "Entering today's information";
    QTest::newRow("sitter list") << 2 << "The sitter list";
    QTest::newRow("options") << 3 << "Options";
    QTest::newRow("contents") << 9999 << "The Hushby Help";
}

void TestHelpViewer::topic_opens_its_section()
{
    QFETCH(int, topic);
    QFETCH(QString, heading);
    HelpViewer v(shipped("HUSHBY.HLP"), shipped("words.txt"), nullptr);
    QCOMPARE(v.helpFile().status(), HelpFile::Status::Ok);
    v.showTopic(topic);
    QCOMPARE(v.currentPage(), QString::number(topic));
    QCOMPARE(shownText(v).section('\n', 0, 0).trimmed(), heading);
}

void TestHelpViewer::every_link_leads_to_a_page()
{
    HelpFile file;
    QVERIFY(file.load(shipped("HUSHBY.HLP"), shipped("words.txt")));
    static const QRegularExpression href(QStringLiteral("href=\"#([^\"]*)\""));
    QSet<QString> reached;
    for (const QString &id : file.pageIds())
        for (auto it = href.globalMatch(file.pageHtml(id)); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(file.hasPage(target), qPrintable(id + " links to a missing page " + target));
            reached << target;
        }
    // Every page can be reached from somewhere.
    for (const QString &id : file.pageIds())
        QVERIFY2(reached.contains(id), qPrintable(id + " is not linked from any page"));
}

void TestHelpViewer::voice_page_lists_every_phrase_of_the_word_list()
{
    bool ok = false;
    const QStringList phrases = VoiceGrammar::readPhraseLines(shipped("words.txt"), &ok);
    QVERIFY(ok);
    QVERIFY(phrases.size() > 20);
    HelpViewer v(shipped("HUSHBY.HLP"), shipped("words.txt"), nullptr);
    v.showPage("voice");
    const QStringList lines = shownText(v).split('\n');
    for (const QString &phrase : phrases)
        QVERIFY2(lines.contains(phrase), qPrintable(phrase));
}

void TestHelpViewer::phrases_are_shown_as_text_not_markup()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("words.txt"), "# comment\n<start>=call mom & dad\n<start>=a <b>bold</b> try\n");
    HelpViewer v(shipped("HUSHBY.HLP"), dir.filePath("words.txt"), nullptr);
    v.showPage("voice");
    const QStringList lines = shownText(v).split('\n');
    QVERIFY(lines.contains("call mom & dad"));
    QVERIFY(lines.contains("a <b>bold</b> try"));
    QVERIFY(!shownText(v).contains("comment"));

    HelpViewer noWords(shipped("HUSHBY.HLP"), dir.filePath("gone.txt"), nullptr);
    noWords.showPage("voice");
    QVERIFY(shownText(noWords).contains("The word list could not be read from " + dir.filePath("gone.txt")));
}

void TestHelpViewer::missing_or_broken_file_says_so_with_its_path_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QByteArray() << false << "The help file is missing";
    QTest::newRow("empty") << QByteArray() << true << "The help file cannot be read";
    QTest::newRow("no topics") << QByteArray("<html><body><p>hello</p></body></html>") << true
                               << "The help file cannot be read";
}

void TestHelpViewer::missing_or_broken_file_says_so_with_its_path()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("HUSHBY.HLP");
    if (create)
        writeFile(path, content);
    HelpViewer v(path, shipped("words.txt"), nullptr);
    v.showTopic(9999);
    const QString text = shownText(v);
    QVERIFY2(text.contains(message), qPrintable(text));
    QVERIFY2(text.contains(path), qPrintable(text));
    QVERIFY(!v.findChild<QWidget *>("cmdContents")->isEnabled());
}

void TestHelpViewer::back_and_forward_retrace_the_pages()
{
    HelpViewer v(shipped("HUSHBY.HLP"), shipped("words.txt"), nullptr);
    v.showTopic(9999);
    emit v.browser()->anchorClicked(QUrl("#password"));
    QCOMPARE(v.currentPage(), QStringLiteral("password"));
    v.showPage("files");
    v.back();
    QCOMPARE(v.currentPage(), QStringLiteral("password"));
    v.back();
    QCOMPARE(v.currentPage(), QStringLiteral("9999"));
    QVERIFY(!v.findChild<QWidget *>("cmdBack")->isEnabled());
    v.forward();
    QCOMPARE(v.currentPage(), QStringLiteral("password"));
    v.showPage("timing"); // a new page drops what lay ahead
    QVERIFY(!v.findChild<QWidget *>("cmdForward")->isEnabled());
}

void TestHelpViewer::find_moves_on_to_the_page_that_has_the_text()
{
    HelpViewer v(shipped("HUSHBY.HLP"), shipped("words.txt"), nullptr);
    v.showTopic(9999);
    QVERIFY(v.find("x-scheme-handler"));
    QCOMPARE(v.currentPage(), QStringLiteral("dialing"));
    QCOMPARE(v.browser()->textCursor().selectedText(), QStringLiteral("x-scheme-handler"));
    QVERIFY(!v.find("no such words anywhere"));
    QCOMPARE(v.findChild<QLabel *>("FindStatus")->text(), QStringLiteral("Not found"));
}

void TestHelpViewer::print_goes_through_the_dialog()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("help.pdf");
    HelpViewer v(shipped("HUSHBY.HLP"), shipped("words.txt"), nullptr);
    v.showTopic(2);
    bool accept = false;
    v.setPrintDialog([&](QPrinter &printer, QWidget *) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return accept;
    });
    v.print();
    QVERIFY(!QFileInfo::exists(pdf));
    accept = true;
    v.print();
    QVERIFY(QFileInfo(pdf).size() > 1000);
}

void TestHelpViewer::only_web_and_mail_links_leave_the_help()
{
    HelpViewer v(shipped("HUSHBY.HLP"), shipped("words.txt"), nullptr);
    QList<QUrl> opened;
    v.setLinkOpener([&](const QUrl &u) { opened << u; });
    v.showTopic(9999);
    for (const char *u : {"https://example.org/", "file:///etc/passwd", "mailto:help@example.org", "tel:911"})
        emit v.browser()->anchorClicked(QUrl(u));
    QCOMPARE(opened, QList<QUrl>({QUrl("https://example.org/"), QUrl("mailto:help@example.org")}));
    QCOMPARE(v.currentPage(), QStringLiteral("9999"));
}

QTEST_MAIN(TestHelpViewer)
#include "tst_help_viewer.moc"
