#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>

// A transform of the acoustic model's means as the recogniser reads it: one class, then per
// feature stream its length, the matrix, the offset and the variance scale. The library reads one
// of the wrong shape past its ends, so every transform is checked here first.
namespace MeanTransform {

// Whether the text has that shape, with finite numbers.
bool isWellFormed(const QByteArray &transform);
// Whether it also has a matrix for each of the model's feature streams, of their lengths.
bool fits(const QByteArray &transform, const QString &modelDirectory);
// The model's feat.params as option -> value.
QHash<QByteArray, QByteArray> modelParams(const QString &modelDirectory);

} // namespace MeanTransform
