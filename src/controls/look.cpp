#include "controls/look.h"

#include <QStringList>

void Look::installFontSubstitutes()
{
    // Few faces, all from one family: every further face costs start-up time to load.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), QStringList{"DejaVu Sans Condensed", "Liberation Sans Narrow"});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), QStringList{"DejaVu Sans", "Liberation Sans"});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), QStringList{"Liberation Serif", "DejaVu Serif"});
}
