#pragma once

#include <QPalette>
#include <QRect>
#include <QString>

class QFont;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls both windows are built of, placed in twips as designed.
namespace DesignedControls
{
    // A command button that is never the window's default or cancel button; Enter presses it when it has the focus.
    QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &twips,
                        const QFont &font);
    // An ordinary single-line text box with no length limit.
    QLineEdit *textBox(QWidget *parent, const char *name, const QRect &twips, const QString &accessibleName);
    // A substitute face is wider than the designed one: narrows the font of each label and button
    // of the window whose caption does not fit its box as placed, framed and wrapped.
    void fitCaptions(QWidget *window);
    // Paints a control's own background and text in these system colours.
    void paint(QWidget *widget, QPalette::ColorRole background, QPalette::ColorRole text);
} // namespace DesignedControls
