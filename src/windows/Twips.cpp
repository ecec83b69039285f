#include "windows/Twips.h"

#include <QFontDatabase>
#include <QWidget>

#include <cmath>

int Twips::toPixels(int twips, const QWidget *widget)
{
    return int(std::lround(twips * widget->logicalDpiX() / 1440.0));
}

void Twips::place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(toPixels(left, widget), toPixels(top, widget), toPixels(width, widget),
                        toPixels(height, widget));
}

void Twips::resizeClientArea(QWidget *window, int width, int height)
{
    window->resize(toPixels(width, window), toPixels(height, window));
}

QFont Twips::font(qreal points, bool bold)
{
    // One look-up for the whole run: the designed face where the host has it, drawn as designed;
    // otherwise the first substitute there is, narrowed a little so that the designed captions fit.
    // The faces are looked for among those installed; asking for each by name would have the font
    // system search substitutes for every one that is missing.
    static const QString face = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char *candidate : {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"}) {
            if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                return QString::fromLatin1(candidate);
        }
        return QString();
    }();
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    if (face != QLatin1String("MS Sans Serif"))
        font.setStretch(90);
    return font;
}
