#include "windows/CommandButton.h"

#include <QKeyEvent>

namespace {

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

// Enter held down presses once. The button keeps its own count of that: the system's repeat flag
// is wrong for the first Enter after one that opened or closed a window (its release went there).
void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (!isEnter(event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // The key event comes accepted: the Enter is the button's.
    if (m_enterHeld)
        return;
    m_enterHeld = true;
    click();
}

void CommandButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!isEnter(event)) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        m_enterHeld = false;
}

void CommandButton::focusOutEvent(QFocusEvent *event)
{
    m_enterHeld = false;
    QPushButton::focusOutEvent(event);
}
