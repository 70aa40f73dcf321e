#include "controls/look.h"

#include <QStringList>
#include <QWidget>

void Look::installFontSubstitutes()
{
    // Few faces, all from one family: every further face costs start-up time to load.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               QStringList{"DejaVu Sans Condensed", "Liberation Sans Narrow"});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), QStringList{"DejaVu Sans", "Liberation Sans"});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), QStringList{"Liberation Serif", "DejaVu Serif"});
}

QWidget *Look::region(QWidget *parent, const char *name, const QRect &geometry, const QColor &colour)
{
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    return w;
}
