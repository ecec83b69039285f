#include "windows/BusyCursor.h"

#include "windows/PendingInput.h"

#include <QCursor>
#include <QGuiApplication>

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
    // A second press queued while the first one worked would run on a changed screen, unseen.
    PendingInput::discard();
}
