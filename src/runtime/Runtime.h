#pragma once

#include "runtime/DosPath.h"
#include "runtime/DosPaths.h"
#include "runtime/FileAccess.h"
#include "runtime/FileTable.h"
#include "runtime/Host.h"

#include <QString>
#include <QStringList>

#include <memory>

class PathMapper;

// The platform services the rest of the program calls, in its own terms: drive letters, backslash
// paths, names that match without regard to case, file numbers. The only code that touches the
// host's file system, starts programs, shows message boxes or reads the clock. Every error it
// hands back is a plain reason without a host path.
class Runtime
{
public:
    using Stamp = FileAccess::Stamp;
    using Odd = FileAccess::Odd;

    using Copy = FileAccess::Copy;

    explicit Runtime(Host &host, std::unique_ptr<FileAccess> files = makeNativeFileAccess());
    ~Runtime();

    Host &host() { return m_host; }

    // First start on a host without drive letters: lays out the drive folder.
    void prepareDrives();

    // Current drive and, per drive, current folder; relative names resolve against them.
    bool changeDrive(const QString &drive);
    bool changeFolder(const DosPath &path);
    DosPath currentFolder() const;
    DosPath currentFolderOf(const QString &drive) const;

    // A path as the program writes it, parsed against the current drive and folder as they are now.
    DosPath path(const QString &text) const { return m_dos.parse(text); }
    // One relative to the given folder instead.
    DosPath path(const QString &text, const DosPath &from) const { return m_dos.parse(text, &from); }
    // The same folder, resolved now and held so while the path or one below it lives: the files in
    // it are its host folder and their names, not looked up from the drive down again. For work on
    // many files in a few folders that nobody else renames meanwhile. A folder that is not there
    // stays as it was, resolved at each use.
    DosPath pin(const DosPath &folder);

    bool makeFolder(const DosPath &path, QString *error = nullptr);

    // Plain files matching a path whose last name may hold wildcards, as bare names, in name
    // order; odd, when given, receives the matching entries that cannot be taken as files.
    // failure, when given, receives why the folder could not be read.
    QStringList findAll(const DosPath &pattern, QList<Odd> *odd = nullptr, QString *failure = nullptr);
    // The first match (empty when none), then the next of the same enumeration.
    QString findFirst(const DosPath &pattern);
    QString findNext();

    // Copies one file to each target from one opening of it; error says why the target copy->failed
    // could not be made.
    bool copyFile(const DosPath &from, const QList<DosPath> &to, QString *error = nullptr, Copy *copy = nullptr);
    bool deleteFile(const DosPath &path, QString *error = nullptr);
    // Gives an existing file a second name, one that is free.
    bool linkFile(const DosPath &existing, const DosPath &name, QString *error = nullptr);
    // Moves a file to a free name.
    bool renameFile(const DosPath &from, const DosPath &to, QString *error = nullptr);
    enum class Removal { Removed, Gone, Changed, Failed };
    // Removes a file only while it is as it was when stamped; error says why it could not be removed.
    Removal deleteUnchanged(const DosPath &path, const Stamp &stamped, QString *error);
    // Deletes every file matching the pattern that it can; what stays, a later findAll() sees.
    void deleteFiles(const DosPath &pattern);
    // Removes from a folder what cannot be taken as a file (see FileAccess::removeOdd).
    void deleteOdd(const DosPath &folder);
    Stamp stamp(const DosPath &path);
    // The SHA-256 of a plain file's bytes, and how many there are; empty, with the reason, when it cannot be read.
    QByteArray digest(const DosPath &path, qint64 *size, QString *error = nullptr);
    // Puts what was written into these folders on disk; false unless the system confirms it.
    bool syncToDisk(const QList<DosPath> &paths, QString *error = nullptr);
    // Whether both name one existing folder; error says why that could not be told.
    bool sameFolder(const DosPath &a, const DosPath &b, QString *error = nullptr);
    // The lock of a folder while the handle lives, against other runs of the program on this
    // computer; empty, with busy set when another run holds it.
    std::shared_ptr<void> lock(const DosPath &path, bool *busy, QString *error = nullptr);

    // For the drive and folder selectors.
    QStringList drives();
    bool isReadableFolder(const DosPath &path);
    QStringList subfolders(const DosPath &path);
    // A folder as the user sees it: drive letter in upper case, names as on disk, "C:\" for a root.
    QString displayPath(const DosPath &path);

    // Text files under file numbers.
    int freeFile() const;
    bool openForInput(int number, const DosPath &path, QString *error = nullptr);
    bool openForOutput(int number, const DosPath &path, QString *error = nullptr);
    // Output added to the end of a file, made if need be, and on disk once closed.
    bool openForAppend(int number, const DosPath &path, QString *error = nullptr);
    // Output that replaces the target only when closed, and whole, or not at all.
    bool openForReplace(int number, const DosPath &path, QString *error = nullptr);
    bool readLine(int number, QString *line);
    bool atEnd(int number);
    // Why reading the file stopped before its end ("the device is not ready"); empty otherwise.
    QString readFailure(int number) const;
    bool writeLine(int number, const QString &text, QString *error = nullptr);
    // Lines written from now on are UTF-8; a file read began with a byte-order mark.
    void writeUnicode(int number) { m_files.writeUnicode(number); }
    bool isUnicode(int number) const { return m_files.isUnicode(number); }
    bool isOpen(int number) const;
    bool closeFile(int number, QString *error = nullptr);
    // Closes without writing: a replacing output leaves its target as it was.
    void discardFile(int number);
    void closeAll();

    QString currentDate() const;
    QString currentTime() const;

    bool startProgram(const DosPath &program, const QString &argument, QString *error = nullptr);
    // How far the work the person waits for has come; each question to the disk meanwhile tells the
    // host again, so that a slow disk shows the work within a second, not only at the next step.
    void progress(const QString &text, qint64 done, qint64 total)
    {
        m_step = {text, done, total};
        m_host.progress(text, done, total);
    }
    Host::Answer messageBox(const QString &text, Host::Buttons buttons = Host::Buttons::Ok,
                            const QString &details = {});

    // Closes every file and ends the program; no window event runs after it.
    void endProgram();
    bool hasEnded() const { return m_ended; }

private:
    // Empty when the path leads nowhere; notFound() then says why.
    HostPath hostPath(const DosPath &path);
    QString notFound() const;
    FileAccess::Kind kindOf(const HostPath &host) { return m_access->entry(host.native()).kind; }
    bool open(int number, const DosPath &path, FileTable::Mode mode, QString *error);

    Host &m_host;
    std::unique_ptr<FileAccess> m_access;
    std::unique_ptr<PathMapper> m_paths;
    DosPaths m_dos;
    FileTable m_files;
    QStringList m_found;
    qsizetype m_foundNext = 0;
    bool m_ended = false;
    FileAccess::Why m_unresolved;         // why the last path could not be resolved
    struct Step
    {
        QString text;
        qint64 done = 0, total = 0;
    } m_step;   // the work under way, if any
    void stillWorking()
    {
        if (m_step.done < m_step.total)
            m_host.progress(m_step.text, m_step.done, m_step.total);
    }
};
