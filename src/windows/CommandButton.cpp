#include "windows/CommandButton.h"

#include <QKeyEvent>

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // A key held down presses once, not once a repeat.
    if (!event->isAutoRepeat())
        click();
    event->accept();
}
