#pragma once
#include <QPixmap>

// The program's own pictures, painted in code so that they scale and need no files.
namespace Decorations {
enum class Page { Where, Emergency, Medical, Schedule, Kids, Meals, Allowed };

QPixmap pagePicture(Page page, int size);
// The night sky with a moon behind the splash window.
QPixmap splashBackground(const QSize &size);
// The left panel's picture: a crib under a mobile of stars.
QPixmap panelPicture(const QSize &size);
} // namespace Decorations
