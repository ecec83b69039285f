#include "windows/Twips.h"

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
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStretch(90);
    return font;
}
