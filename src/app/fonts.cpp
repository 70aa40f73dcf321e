#include "app/fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), QStringList{"Wine Tahoma", "DejaVu Sans Condensed", "Liberation Sans Narrow"});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), QStringList{"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), QStringList{"Liberation Serif", "DejaVu Serif"});
}
