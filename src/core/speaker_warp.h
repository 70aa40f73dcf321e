#pragma once
#include <QString>
#include <QVector>

#include <array>

// Learns which warp of the recogniser's filterbank suits the family's voices best, from how well
// the grammar explains each accepted utterance at every candidate warp. Recent utterances count
// most, so that a new sitter's voice takes over within a couple of dozen commands.
class SpeakerWarp
{
public:
    static constexpr int CandidateCount = 7;
    static constexpr std::array<double, CandidateCount> Candidates = {0.94, 0.97, 1.00, 1.03, 1.06, 1.09, 1.12};
    static constexpr int Unwarped = 2; // the index of 1.00
    // Each utterance's weight shrinks by this much with every later one.
    static constexpr double Forgetting = 0.95;
    // No warp is chosen on fewer utterances than this.
    static constexpr int MinUtterances = 3;
    // How much better per 10 ms frame (in the recogniser's score units, where warps differ by
    // tenths) a warp's evidence must be than
    // the chosen one's to replace it; keeps the choice from flipping between neighbours.
    static constexpr double Hysteresis = 0.15;

    // The state as settings text, "1.06;12;0.5,-1.25,..."; anything else reads as no evidence.
    static SpeakerWarp fromText(const QString &text);
    QString toText() const;

    // One accepted utterance's score per frame at each candidate (in Candidates' order). Returns
    // whether the chosen warp changed; scores of the wrong count or not finite are ignored.
    bool addUtterance(const QVector<double> &scores);

    double warp() const { return Candidates[m_chosen]; }
    int utterances() const { return m_utterances; }
    // Per candidate: the recent utterances' weighted mean score, each relative to its own mean.
    const std::array<double, CandidateCount> &evidence() const { return m_evidence; }

private:
    int m_chosen = Unwarped;
    int m_utterances = 0;
    std::array<double, CandidateCount> m_evidence{};
};
