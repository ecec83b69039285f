#pragma once

#include "runtime/DosPath.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>

// The program's paths: a drive letter, backslashes, and names that are relative to the current
// folder of their drive. The current folders are kept here, never in the process.
class DosPaths
{
public:
    // A relative path is read against from, when given and on its drive, else against the
    // current folder of its drive.
    DosPath parse(const QString &path, const DosPath *from = nullptr) const;

    QChar currentDrive() const { return m_drive; }
    void setCurrentDrive(QChar drive) { m_drive = drive.toLower(); }
    // "c:\qrn" for the drive's current folder; the current drive's when drive is empty.
    QString currentFolderOf(const QString &drive) const;
    void setCurrentFolder(const DosPath &path) { m_folders[path.drive()] = path.names(); }

private:
    QChar m_drive = u'c';
    QHash<QChar, QStringList> m_folders;   // current folder of each drive, as names below its root
};
