#pragma once

#include <QComboBox>

// The drop-down list of drives; each entry begins with the drive letter and its colon.
class DriveSelector : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void setDrives(const QStringList &drives);
    // Shows a drive without raising a change, as when the selector goes back to where it was.
    void showDrive(const QString &drive);
};
