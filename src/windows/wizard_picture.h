#pragma once
#include <QPixmap>

// The setup wizard's own picture: a clipboard with a ticked list and a pencil, painted in code.
namespace WizardPicture {
QPixmap paint(const QSize &size);
}
