#include "voice/mean_transform.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QVector>

#include <cmath>

namespace {

constexpr int MaxStreams = 8;
constexpr int MaxVectorLength = 64;

// The length of each feature stream the model's Gaussians are split into.
QVector<int> streamLengths(const QHash<QByteArray, QByteArray> &params)
{
    const QByteArray svspec = params.value("-svspec");
    if (svspec.isEmpty()) {
        const QByteArray feat = params.value("-feat", "1s_c_d_dd");
        const int ceplen = params.value("-ceplen", "13").toInt();
        return feat == "1s_c_d_dd" ? QVector<int>{3 * ceplen} : QVector<int>{};
    }
    QVector<int> lengths;
    for (const QByteArray &stream : svspec.split('/')) {
        int n = 0;
        for (const QByteArray &range : stream.split(',')) {
            const QList<QByteArray> ends = range.split('-');
            bool ok1 = false, ok2 = true;
            const int a = ends[0].toInt(&ok1);
            const int b = ends.size() > 1 ? ends[1].toInt(&ok2) : a;
            if (!ok1 || !ok2 || b < a || ends.size() > 2)
                return {};
            n += b - a + 1;
        }
        lengths.append(n);
    }
    return lengths;
}

// The numbers of a transform, checked for shape: one class, then per stream its length, the
// matrix, the offset and the variance scale. Empty when the text is anything else.
QVector<double> transformNumbers(const QByteArray &text, QVector<int> *lengths)
{
    QVector<double> numbers;
    for (const QByteArray &field : text.simplified().split(' ')) {
        bool ok = false;
        const double v = field.toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::fabs(v) > 1e6)
            return {};
        numbers.append(v);
    }
    if (numbers.size() < 2 || numbers[0] != 1 || numbers[1] < 1 || numbers[1] > MaxStreams)
        return {};
    int at = 2;
    lengths->clear();
    for (int s = 0; s < int(numbers[1]); ++s) {
        if (at >= numbers.size())
            return {};
        const double n = numbers[at++];
        if (n < 1 || n > MaxVectorLength || n != std::floor(n))
            return {};
        const int len = int(n);
        lengths->append(len);
        at += len * len + 2 * len;
    }
    return at == numbers.size() ? numbers : QVector<double>{};
}

} // namespace

QHash<QByteArray, QByteArray> MeanTransform::modelParams(const QString &modelDirectory)
{
    QHash<QByteArray, QByteArray> params;
    QFile f(QDir(modelDirectory).filePath(QStringLiteral("feat.params")));
    if (!f.open(QIODevice::ReadOnly))
        return params;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0].startsWith('-'))
            params.insert(fields[0], fields[1]);
    }
    return params;
}

bool MeanTransform::isWellFormed(const QByteArray &transform)
{
    QVector<int> lengths;
    return !transformNumbers(transform, &lengths).isEmpty();
}

bool MeanTransform::fits(const QByteArray &transform, const QString &modelDirectory)
{
    QVector<int> lengths;
    return !transformNumbers(transform, &lengths).isEmpty() && lengths == streamLengths(modelParams(modelDirectory));
}
