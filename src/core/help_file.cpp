#include "core/help_file.h"

#include "core/voice_grammar.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString phraseList(const QString &wordsFilePath)
{
    bool ok = false;
    const QStringList lines = VoiceGrammar::readPhraseLines(wordsFilePath, &ok);
    if (!ok)
        return QStringLiteral("<p><b>The word list could not be read from %1.</b></p>")
            .arg(wordsFilePath.toHtmlEscaped());
    QStringList unique;
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty() && !unique.contains(line))
            unique << line;
    QString html = QStringLiteral("<ul>");
    for (const QString &phrase : unique)
        html += QStringLiteral("<li>%1</li>").arg(phrase.toHtmlEscaped());
    return html + QStringLiteral("</ul>");
}

} // namespace

bool HelpFile::load(const QString &helpFilePath, const QString &wordsFilePath)
{
    m_path = helpFilePath;
    m_pages.clear();
    m_order.clear();
    m_style.clear();
    QFile file(helpFilePath);
    if (!QFileInfo(helpFilePath).isFile() || !file.open(QIODevice::ReadOnly)) {
        m_status = Status::Missing;
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression style(QStringLiteral("<style[^>]*>(.*?)</style>"),
                                          QRegularExpression::DotMatchesEverythingOption
                                              | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression section(QStringLiteral("<section\\s+id=\"([^\"]+)\"\\s*>(.*?)</section>"),
                                            QRegularExpression::DotMatchesEverythingOption
                                                | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch sm = style.match(text);
    if (sm.hasMatch())
        m_style = sm.captured(1);
    for (auto it = section.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString body = m.captured(2);
        if (body.contains(PhrasesMarker))
            body.replace(PhrasesMarker, phraseList(wordsFilePath));
        if (!m_pages.contains(m.captured(1)))
            m_order << m.captured(1);
        m_pages.insert(m.captured(1), body);
    }
    m_status = m_pages.isEmpty() ? Status::Broken : Status::Ok;
    return m_status == Status::Ok;
}

QString HelpFile::pageHtml(const QString &id) const
{
    if (!m_pages.contains(id))
        return {};
    return QStringLiteral("<html><head><style>%1</style></head><body>%2</body></html>").arg(m_style, m_pages.value(id));
}

QString HelpFile::problemHtml() const
{
    const QString where = QFileInfo(m_path).absoluteFilePath().toHtmlEscaped();
    if (m_status == Status::Missing)
        return QStringLiteral("<h2>The help file is missing</h2><p>The Hushby looked for its help file "
                              "here:</p><p><b>%1</b></p><p>Put HUSHBY.HLP back in that folder (it comes "
                              "with the program) and open Help again.</p>")
            .arg(where);
    if (m_status == Status::Broken)
        return QStringLiteral("<h2>The help file cannot be read</h2><p>The help file</p><p><b>%1</b></p>"
                              "<p>holds no help topics. It may be damaged; copy HUSHBY.HLP from the "
                              "program again.</p>")
            .arg(where);
    return {};
}
