#pragma once

#include <QFont>

class QWidget;

// The windows are designed in twips (1/1440 inch) and in "MS Sans Serif"; this turns both into
// what the screen has: pixels at its logical DPI and the nearest sans-serif face.
class Twips
{
public:
    static int toPixels(int twips, const QWidget *widget);
    static void place(QWidget *widget, int left, int top, int width, int height);
    static void resizeClientArea(QWidget *window, int width, int height);
    static QFont font(qreal points, bool bold);
};
