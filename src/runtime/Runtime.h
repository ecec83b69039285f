#pragma once

#include "runtime/FileTable.h"
#include "runtime/Host.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class PathMapper;

// The platform services the rest of the program calls, in its own terms: drive letters, backslash
// paths, names that match without regard to case, file numbers. The only code that touches the
// host's file system, starts programs, shows message boxes or reads the clock.
class Runtime
{
public:
    // Size and modification time of a file; equal stamps mean the file was not changed.
    struct Stamp
    {
        qint64 size = -1;
        qint64 modified = 0;
        bool exists() const { return size >= 0; }
        bool operator==(const Stamp &) const = default;
    };

    explicit Runtime(Host &host);
    ~Runtime();

    Host &host() { return m_host; }

    // First start on a host without drive letters: lays out the drive folder.
    void prepareDrives();

    // Current drive and, per drive, current folder; relative names resolve against them.
    bool changeDrive(const QString &drive);
    bool changeFolder(const QString &path);
    QString currentFolder() const;
    QString currentFolderOf(const QString &drive) const;

    bool makeFolder(const QString &path, QString *error = nullptr);

    // Ordinary files matching a path whose last name may hold wildcards, as bare names, in name order.
    QStringList findAll(const QString &pattern);
    // The first match (empty when none), then the next of the same enumeration.
    QString findFirst(const QString &pattern);
    QString findNext();

    bool copyFile(const QString &from, const QString &to, QString *error = nullptr);
    bool deleteFile(const QString &path, QString *error = nullptr);
    // Deletes every file matching the pattern; false when one of them could not be deleted.
    bool deleteFiles(const QString &pattern);
    Stamp stamp(const QString &path);
    bool syncToDisk(const QStringList &paths, QString *error = nullptr);
    bool sameFolder(const QString &a, const QString &b);

    // For the drive and folder selectors.
    QStringList drives();
    bool isReadableFolder(const QString &path);
    QStringList subfolders(const QString &path);
    // A folder as the user sees it: drive letter in upper case, names as on disk, "C:\" for a root.
    QString displayPath(const QString &path);

    // Text files under file numbers.
    int freeFile() const;
    bool openForInput(int number, const QString &path, QString *error = nullptr);
    bool openForOutput(int number, const QString &path, QString *error = nullptr);
    // Output that replaces the target only when closed, and whole, or not at all.
    bool openForReplace(int number, const QString &path, QString *error = nullptr);
    bool readLine(int number, QString *line);
    bool atEnd(int number);
    bool writeLine(int number, const QString &text, QString *error = nullptr);
    bool isOpen(int number) const;
    bool closeFile(int number, QString *error = nullptr);
    void closeAll();

    QString currentDate() const;
    QString currentTime() const;

    bool startProgram(const QString &program, const QString &argument, QString *error = nullptr);
    int messageBox(const QString &text, Host::Buttons buttons = Host::Buttons::Ok);

    // Closes every file and ends the program; no window event runs after it.
    void endProgram();
    bool hasEnded() const { return m_ended; }

private:
    struct DosPath
    {
        QChar drive;
        QStringList names;
    };

    DosPath parse(const QString &path) const;
    QString hostPath(const QString &path);
    QString hostPath(const DosPath &path);
    static QString qualified(const DosPath &path);

    Host &m_host;
    std::unique_ptr<PathMapper> m_paths;
    FileTable m_files;
    QChar m_drive = u'c';
    QHash<QChar, QStringList> m_folders;   // current folder of each drive, as names below its root
    QStringList m_found;
    qsizetype m_foundNext = 0;
    bool m_ended = false;
};
