#include "core/speaker_warp.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace {

// Beyond these the text was not written by toText().
constexpr int MostUtterances = 1000000000;
constexpr double LargestEvidence = 1e9;

int candidateIndex(const QString &text)
{
    bool ok = false;
    const double warp = text.toDouble(&ok);
    if (!ok)
        return -1;
    for (int i = 0; i < SpeakerWarp::CandidateCount; ++i) {
        if (std::abs(SpeakerWarp::Candidates[i] - warp) < 1e-6)
            return i;
    }
    return -1;
}

} // namespace

SpeakerWarp SpeakerWarp::fromText(const QString &text)
{
    const QStringList parts = text.trimmed().split(u';');
    if (parts.size() != 3)
        return {};
    SpeakerWarp w;
    const int chosen = candidateIndex(parts[0]);
    bool countOk = false;
    const int count = parts[1].toInt(&countOk);
    const QStringList values = parts[2].split(u',');
    if (chosen < 0 || !countOk || count < 0 || count > MostUtterances || values.size() != CandidateCount)
        return {};
    for (int i = 0; i < CandidateCount; ++i) {
        bool ok = false;
        const double v = values[i].toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::abs(v) > LargestEvidence)
            return {};
        w.m_evidence[i] = v;
    }
    w.m_chosen = chosen;
    w.m_utterances = count;
    return w;
}

QString SpeakerWarp::toText() const
{
    QStringList values;
    for (double v : m_evidence)
        values << QString::number(v, 'g', 6);
    return QStringLiteral("%1;%2;%3").arg(QString::number(warp(), 'f', 2)).arg(m_utterances).arg(values.join(u','));
}

bool SpeakerWarp::addUtterance(const QVector<double> &scores)
{
    if (scores.size() != CandidateCount)
        return false;
    double mean = 0;
    for (double s : scores) {
        if (!std::isfinite(s))
            return false;
        mean += s / CandidateCount;
    }
    // A weighted mean with weights Forgetting^age: the total weight after n utterances is
    // (1 - Forgetting^n) / (1 - Forgetting), so the count alone restores it.
    const int n = std::min(m_utterances, MostUtterances - 1) + 1;
    const double newShare = (1 - Forgetting) / (1 - std::pow(Forgetting, n));
    for (int i = 0; i < CandidateCount; ++i)
        m_evidence[i] += newShare * ((scores[i] - mean) - m_evidence[i]);
    m_utterances = n;
    if (m_utterances < MinUtterances)
        return false;
    int best = m_chosen;
    for (int i = 0; i < CandidateCount; ++i) {
        if (m_evidence[i] > m_evidence[best])
            best = i;
    }
    if (best == m_chosen || m_evidence[best] - m_evidence[m_chosen] <= Hysteresis)
        return false;
    m_chosen = best;
    return true;
}
