#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>

// The program's paths: a drive letter, backslashes, and names that are relative to the current
// folder of their drive. The current folders are kept here, never in the process.
class DosPaths
{
public:
    struct Path
    {
        QChar drive;
        QStringList names;   // below the drive's root, "." and ".." already applied
    };

    Path parse(const QString &path) const;
    // A fully qualified form that parse() reads back unchanged, whatever the current folder.
    static QString qualified(const Path &path);

    QChar currentDrive() const { return m_drive; }
    void setCurrentDrive(QChar drive) { m_drive = drive.toLower(); }
    // "c:\qrn" for the drive's current folder; the current drive's when drive is empty.
    QString currentFolderOf(const QString &drive) const;
    void setCurrentFolder(const Path &path) { m_folders[path.drive] = path.names; }

private:
    QChar m_drive = u'c';
    QHash<QChar, QStringList> m_folders;   // current folder of each drive, as names below its root
};
