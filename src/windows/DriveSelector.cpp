#include "windows/DriveSelector.h"

#include <QSignalBlocker>

void DriveSelector::setDrives(const QStringList &drives)
{
    const QSignalBlocker quiet(this);
    clear();
    addItems(drives);
}

void DriveSelector::showDrive(const QString &drive)
{
    const QSignalBlocker quiet(this);
    const QString wanted = drive.left(2).toLower();
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).left(2).toLower() == wanted) {
            setCurrentIndex(i);
            return;
        }
    }
}
