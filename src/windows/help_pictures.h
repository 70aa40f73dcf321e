#pragma once
#include <QImage>
#include <QPixmap>

// The pictures of the topic menu, the dedication, the information and the getting-started
// windows, painted in code so they need no files.
namespace HelpPictures {
// The 28 x 35 heart of the "Dedicated To ..." button, on black (the button's key colour).
QImage dedicationHeart();
QPixmap moonAndStars(const QSize &size);
QPixmap houseAtNight(const QSize &size);
QPixmap infoBadge(int size);
QPixmap panelArrow(int size);
} // namespace HelpPictures
