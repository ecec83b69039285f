#pragma once

#include <QFont>

class QWidget;

// The windows are designed in twips (1/1440 inch) and in "MS Sans Serif"; this turns both into
// what the screen has: pixels at its logical DPI and the nearest sans-serif face.
namespace Twips
{
    int toPixels(int twips, const QWidget *widget);
    void place(QWidget *widget, int left, int top, int width, int height);
    void resizeClientArea(QWidget *window, int width, int height);
    QFont font(qreal points, bool bold);
} // namespace Twips
