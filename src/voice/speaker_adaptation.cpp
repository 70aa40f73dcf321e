#include "voice/speaker_adaptation.h"

#include "voice/command_decoder.h"
#include "voice/mean_transform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr int ToolTimeoutMs = 120000;

QString toolDirectory()
{
    const QString overridden = qEnvironmentVariable("HUSHBY_SPHINXTRAIN_DIR");
    if (!overridden.isEmpty())
        return overridden;
    for (const char *dir : {"/usr/lib/sphinxtrain", "/usr/local/lib/sphinxtrain", "/usr/libexec/sphinxtrain"}) {
        if (QFileInfo(QString::fromLatin1(dir) + QStringLiteral("/bw")).isExecutable())
            return QString::fromLatin1(dir);
    }
    return QStringLiteral("/usr/lib/sphinxtrain");
}

bool runTool(const QString &program, const QStringList &args, const std::atomic<bool> *stop, QString *error)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted()) {
        *error = QStringLiteral("cannot run %1").arg(program);
        return false;
    }
    QByteArray output;
    for (int waited = 0; !p.waitForFinished(100); waited += 100) {
        output += p.readAll();
        if ((stop && *stop) || waited > ToolTimeoutMs) {
            p.kill();
            p.waitForFinished();
            *error = stop && *stop ? QStringLiteral("stopped") : QStringLiteral("%1 took too long").arg(program);
            return false;
        }
    }
    output += p.readAll();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        // The tools end their log with the reason.
        const QList<QByteArray> lines = output.trimmed().split('\n');
        *error = QStringLiteral("%1 failed: %2")
                     .arg(QFileInfo(program).fileName(), QString::fromLocal8Bit(lines.isEmpty() ? "" : lines.last()));
        return false;
    }
    return true;
}

// The trainer reads mixture weights only as floats; a decoding-only model keeps them quantised
// in sendump: per stream and density, one byte per senone, a log weight shifted down.
bool writeMixtureWeights(const QString &sendumpPath, const QString &outPath, QString *error)
{
    QFile in(sendumpPath);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(sendumpPath);
        return false;
    }
    const QByteArray data = in.readAll();
    qsizetype at = 0;
    bool swap = false;
    auto readInt = [&](qint64 *value) {
        if (at + 4 > data.size())
            return false;
        quint32 v;
        std::memcpy(&v, data.constData() + at, 4);
        at += 4;
        if (swap)
            v = qbswap(v);
        *value = v;
        return true;
    };
    qint64 n = 0;
    if (!readInt(&n)) {
        *error = QStringLiteral("%1 is damaged").arg(sendumpPath);
        return false;
    }
    if (n > 65536) {
        swap = true;
        at = 0;
        readInt(&n);
    }
    at += n; // title
    int features = 0, shift = 10;
    for (;;) {
        if (!readInt(&n) || n < 0 || at + n > data.size()) {
            *error = QStringLiteral("%1 is damaged").arg(sendumpPath);
            return false;
        }
        if (n == 0)
            break;
        const QList<QByteArray> fields = QByteArray(data.constData() + at, int(n)).trimmed().split(' ');
        at += n;
        if (fields.size() == 2 && fields[0] == "feature_count")
            features = fields[1].toInt();
        else if (fields.size() == 2 && fields[0] == "mixw_shift")
            shift = fields[1].toInt();
        else if (fields.size() == 2 && fields[0] == "cluster_count" && fields[1].toInt() != 0) {
            *error = QStringLiteral("%1 has clustered weights, which cannot be adapted from").arg(sendumpPath);
            return false;
        }
    }
    qint64 densities = 0, senones = 0;
    if (!readInt(&densities) || !readInt(&senones) || features <= 0 || densities <= 0 || senones <= 0
        || densities > 4096 || senones > 1000000 || data.size() - at != qint64(features) * densities * senones) {
        *error = QStringLiteral("%1 is damaged").arg(sendumpPath);
        return false;
    }
    if (shift < 0 || shift > 30) {
        *error = QStringLiteral("%1 is damaged").arg(sendumpPath);
        return false;
    }
    // A byte has 256 values: each weight is looked up, not computed.
    std::array<float, 256> weightOf;
    for (int b = 0; b < 256; ++b)
        weightOf[b] = float(std::pow(1.0001, -std::ldexp(double(b), shift)));
    QVector<float> weights(qsizetype(senones * features * densities));
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData() + at);
    for (qint64 f = 0; f < features; ++f)
        for (qint64 d = 0; d < densities; ++d)
            for (qint64 s = 0; s < senones; ++s)
                weights[(s * features + f) * densities + d] = weightOf[bytes[(f * densities + d) * senones + s]];
    for (qint64 i = 0; i < senones * features; ++i) {
        double sum = 0;
        for (qint64 d = 0; d < densities; ++d)
            sum += weights[i * densities + d];
        for (qint64 d = 0; d < densities && sum > 0; ++d)
            weights[i * densities + d] = float(weights[i * densities + d] / sum);
    }
    QFile out(outPath);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1").arg(outPath);
        return false;
    }
    QByteArray head("s3\nversion 1.0\nendhdr\n");
    const quint32 dims[5]
        = {0x11223344u, quint32(senones), quint32(features), quint32(densities), quint32(weights.size())};
    head.append(reinterpret_cast<const char *>(dims), sizeof dims);
    if (out.write(head) != head.size()
        || out.write(reinterpret_cast<const char *>(weights.constData()), weights.size() * qsizetype(sizeof(float)))
            != weights.size() * qsizetype(sizeof(float))
        || !out.flush()) {
        *error = QStringLiteral("cannot write %1").arg(outPath);
        return false;
    }
    return true;
}

} // namespace

SpeakerAdaptation SpeakerAdaptation::fromText(const QString &text)
{
    SpeakerAdaptation a;
    const int semicolon = text.indexOf(u';');
    bool ok = false;
    const double warp = text.left(semicolon).toDouble(&ok);
    if (semicolon < 0 || !ok || !(warp >= 0.5 && warp <= 2.0)
        || !MeanTransform::isWellFormed(text.mid(semicolon + 1).toLatin1()))
        return a;
    a.m_warp = warp;
    a.m_transform = text.mid(semicolon + 1).toLatin1().simplified() + '\n';
    return a;
}

QString SpeakerAdaptation::toText() const
{
    if (isEmpty())
        return {};
    return QString::number(m_warp, 'f', 2) + u';' + QString::fromLatin1(m_transform.simplified());
}

bool SpeakerAdaptation::fitsModel(const QString &modelDirectory) const
{
    return MeanTransform::fits(m_transform,
                               modelDirectory.isEmpty() ? CommandDecoder::defaultModelDirectory() : modelDirectory);
}

QStringList SpeakerAdaptation::tools(QString *missing)
{
    const QString dir = toolDirectory();
    const QStringList found = {QStandardPaths::findExecutable(QStringLiteral("sphinx_fe")),
                               QStandardPaths::findExecutable(QStringLiteral("pocketsphinx_mdef_convert")),
                               dir + QStringLiteral("/bw"), dir + QStringLiteral("/mllr_solve")};
    const QStringList names = {QStringLiteral("sphinx_fe"), QStringLiteral("pocketsphinx_mdef_convert"),
                               QStringLiteral("bw"), QStringLiteral("mllr_solve")};
    for (int i = 0; i < found.size(); ++i) {
        if (found[i].isEmpty() || !QFileInfo(found[i]).isExecutable()) {
            if (missing)
                *missing = names[i];
            return {};
        }
    }
    return found;
}

SpeakerAdaptation SpeakerAdaptation::estimate(const QVector<Utterance> &utterances,
                                              const QHash<QString, QStringList> &pronunciations, double warp,
                                              const QString &modelDirectory, const std::atomic<bool> *stop,
                                              QString *error)
{
    QString ignored;
    QString &err = error ? *error : ignored;
    const QString hmm = modelDirectory.isEmpty() ? CommandDecoder::defaultModelDirectory() : modelDirectory;
    QString missing;
    const QStringList tool = tools(&missing);
    if (tool.isEmpty()) {
        err = QStringLiteral("%1 is not installed").arg(missing);
        return {};
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        err = QStringLiteral("cannot make a working folder");
        return {};
    }
    const QDir dir(work.path());
    dir.mkdir(QStringLiteral("mfc"));
    dir.mkdir(QStringLiteral("acc"));

    // The utterances as the decoder hears them, their words, and how those are said.
    QFile ids(dir.filePath(QStringLiteral("ids"))), trans(dir.filePath(QStringLiteral("trans"))),
        dict(dir.filePath(QStringLiteral("dict")));
    if (!ids.open(QIODevice::WriteOnly) || !trans.open(QIODevice::WriteOnly) || !dict.open(QIODevice::WriteOnly)) {
        err = QStringLiteral("cannot write in the working folder");
        return {};
    }
    QSet<QString> words;
    int used = 0;
    for (const Utterance &u : utterances) {
        const QStringList uttWords = u.words.split(u' ', Qt::SkipEmptyParts);
        bool known = !uttWords.isEmpty() && !u.audio.isEmpty();
        for (const QString &w : uttWords)
            known = known && !pronunciations.value(w).isEmpty();
        if (!known)
            continue;
        const QString id = QStringLiteral("u%1").arg(used++, 3, 10, QLatin1Char('0'));
        const QVector<int16_t> audio = CommandDecoder::prepared(u.audio.constData(), int(u.audio.size()));
        QFile raw(dir.filePath(id + QStringLiteral(".raw")));
        const qint64 bytes = audio.size() * qint64(sizeof(int16_t));
        if (!raw.open(QIODevice::WriteOnly)
            || raw.write(reinterpret_cast<const char *>(audio.constData()), bytes) != bytes) {
            err = QStringLiteral("cannot write in the working folder");
            return {};
        }
        ids.write(id.toLatin1() + '\n');
        trans.write("<s> " + uttWords.join(u' ').toUtf8() + " </s> (" + id.toLatin1() + ")\n");
        for (const QString &w : uttWords)
            words.insert(w);
    }
    if (used == 0) {
        err = QStringLiteral("no utterance to learn from");
        return {};
    }
    for (const QString &w : words) {
        const QStringList prons = pronunciations.value(w);
        for (int v = 0; v < prons.size(); ++v)
            dict.write((v ? QStringLiteral("%1(%2) %3\n").arg(w).arg(v + 1).arg(prons[v])
                          : QStringLiteral("%1 %2\n").arg(w, prons[v]))
                           .toUtf8());
    }
    ids.close();
    trans.close();
    dict.close();

    // The front end as the decoder runs it at this warp.
    double lower = 0, upper = 0;
    if (!CommandDecoder::warpedEdges(hmm, warp, &lower, &upper, nullptr, &err))
        return {};
    const QHash<QByteArray, QByteArray> params = MeanTransform::modelParams(hmm);
    const QDir model(hmm);
    QStringList fe;
    const auto option = [](QStringList *args, const char *name, const QString &value) {
        *args << QString::fromLatin1(name) << value;
    };
    option(&fe, "-c", ids.fileName());
    option(&fe, "-di", work.path());
    option(&fe, "-ei", QStringLiteral("raw"));
    option(&fe, "-do", dir.filePath(QStringLiteral("mfc")));
    option(&fe, "-eo", QStringLiteral("mfc"));
    option(&fe, "-raw", QStringLiteral("yes"));
    option(&fe, "-input_endian", QStringLiteral("little"));
    option(&fe, "-samprate", QStringLiteral("16000"));
    option(&fe, "-remove_silence", QStringLiteral("no"));
    option(&fe, "-lowerf", QString::number(lower, 'f', 2));
    option(&fe, "-upperf", QString::number(upper, 'f', 2));
    for (const char *name : {"-nfilt", "-transform", "-lifter", "-ncep", "-wlen", "-nfft", "-alpha", "-doublebw",
                             "-round_filters", "-remove_dc", "-remove_noise"}) {
        if (params.contains(name))
            option(&fe, name, QString::fromLatin1(params.value(name)));
    }
    if (stop && *stop) {
        err = QStringLiteral("stopped");
        return {};
    }
    if (!runTool(tool[0], fe, stop, &err))
        return {};

    // The trainer reads the model definition as text and the mixture weights as floats.
    const QString mdef = dir.filePath(QStringLiteral("mdef.txt"));
    if (!runTool(tool[1], {QStringLiteral("-text"), model.filePath(QStringLiteral("mdef")), mdef}, stop, &err))
        return {};
    QString mixw = model.filePath(QStringLiteral("mixture_weights"));
    if (!QFileInfo::exists(mixw)) {
        mixw = dir.filePath(QStringLiteral("mixture_weights"));
        if (!writeMixtureWeights(model.filePath(QStringLiteral("sendump")), mixw, &err))
            return {};
    }
    const QByteArray tied = params.value("-model");
    const QString tying = tied == "ptm" ? QStringLiteral(".ptm.")
        : tied == "semi"                ? QStringLiteral(".semi.")
                                        : QStringLiteral(".cont.");
    QStringList bw;
    option(&bw, "-moddeffn", mdef);
    option(&bw, "-meanfn", model.filePath(QStringLiteral("means")));
    option(&bw, "-varfn", model.filePath(QStringLiteral("variances")));
    option(&bw, "-mixwfn", mixw);
    option(&bw, "-tmatfn", model.filePath(QStringLiteral("transition_matrices")));
    option(&bw, "-ts2cbfn", tying);
    option(&bw, "-feat", QString::fromLatin1(params.value("-feat", "1s_c_d_dd")));
    option(&bw, "-cmn", QString::fromLatin1(params.value("-cmn", "batch")));
    option(&bw, "-agc", QString::fromLatin1(params.value("-agc", "none")));
    option(&bw, "-varnorm", QString::fromLatin1(params.value("-varnorm", "no")));
    option(&bw, "-dictfn", dict.fileName());
    option(&bw, "-fdictfn", model.filePath(QStringLiteral("noisedict")));
    option(&bw, "-ctlfn", ids.fileName());
    option(&bw, "-lsnfn", trans.fileName());
    option(&bw, "-cepdir", dir.filePath(QStringLiteral("mfc")));
    option(&bw, "-cepext", QStringLiteral("mfc"));
    option(&bw, "-accumdir", dir.filePath(QStringLiteral("acc")));
    option(&bw, "-timing", QStringLiteral("no"));
    if (params.contains("-svspec"))
        option(&bw, "-svspec", QString::fromLatin1(params.value("-svspec")));
    if (!runTool(tool[2], bw, stop, &err))
        return {};
    const QString out = dir.filePath(QStringLiteral("mllr"));
    QStringList solve;
    option(&solve, "-meanfn", model.filePath(QStringLiteral("means")));
    option(&solve, "-varfn", model.filePath(QStringLiteral("variances")));
    option(&solve, "-outmllrfn", out);
    option(&solve, "-accumdir", dir.filePath(QStringLiteral("acc")));
    if (!runTool(tool[3], solve, stop, &err))
        return {};
    QFile result(out);
    if (!result.open(QIODevice::ReadOnly)) {
        err = QStringLiteral("mllr_solve wrote no transform");
        return {};
    }
    SpeakerAdaptation a = fromText(QString::number(warp, 'f', 2) + u';' + QString::fromLatin1(result.readAll()));
    if (a.isEmpty() || !a.fitsModel(hmm)) {
        err = QStringLiteral("the estimated transform does not fit the model");
        return {};
    }
    return a;
}
