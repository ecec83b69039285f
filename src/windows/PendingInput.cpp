#include "windows/PendingInput.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

// Swallows the user's input while it is installed.
class InputSwallower : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override { return PendingInput::isInput(event); }
};

} // namespace

bool PendingInput::isInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

void PendingInput::discard()
{
    if (!QCoreApplication::instance())
        return;
    InputSwallower swallower;
    QCoreApplication::instance()->installEventFilter(&swallower);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&swallower);
}
