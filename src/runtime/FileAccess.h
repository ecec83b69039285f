#pragma once

#include "runtime/Failure.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// An open host file. Every failure comes back with a plain reason ("the disk is full"), never with
// a host path, so that callers can put it into a message in the program's own terms.
class HostFile
{
public:
    virtual ~HostFile() = default;

    // Up to size bytes; 0 at the end, -1 on an error.
    virtual qint64 read(char *data, qint64 size, Why *why) = 0;
    // All of the bytes, or false.
    virtual bool write(const char *data, qint64 size, Why *why) = 0;
    // Closes the file. A replacing output replaces its target only here, whole and on disk, or not
    // at all. A file destroyed without finish() is closed, and a replacing output then discarded.
    virtual bool finish(Why *why) = 0;
};

// What the runtime does to host files: the one place where a disk can refuse. One implementation
// per system; makeNativeFileAccess(), defined by the one the build compiles, picks it.
class FileAccess
{
public:
    // Append adds to the end, and puts what it added on disk before it closes.
    enum class Mode { Read, Write, Replace, Append };

    using Cause = ::Cause;
    using Why = ::Why;

    // A plain file by what it is: its identity on its volume and the times it was written and
    // changed. A file replaced under its name, rewritten, or given its old time back (as copies
    // that keep times do) stamps differently; equal stamps mean the very file, unchanged.
    struct Stamp
    {
        qint64 size = -1;
        qint64 modified = 0;
        quint64 volume = 0;
        quint64 file = 0;
        qint64 changed = 0;   // the status change time, which no program can set back
        quint32 links = 0;    // how many names the file has; no part of what it is
        Why why;              // why there is no file to stamp
        bool exists() const { return size >= 0; }
        // Its status could not be read: it may well still be there.
        bool unknown() const { return why.unknown(); }
        bool operator==(const Stamp &other) const
        {
            return size == other.size && modified == other.modified && volume == other.volume && file == other.file
                && changed == other.changed && unknown() == other.unknown();
        }
    };

    // An entry of a folder that looks like a file but cannot be taken as one.
    struct Odd
    {
        QString shown;    // the name as a person would read it
        QString reason;   // why it is not taken
    };

    // What a copy of one file to several targets did.
    struct Copy
    {
        Stamp source;            // the source as it was opened
        Stamp after;             // the source as it was once the last target had its bytes
        QList<qint64> bytes;     // what reached each target tried, in order
        QByteArray sha256;       // of the bytes copied, once every target has them
        qsizetype failed = -1;   // the target that failed, if one did
        // Why it failed, where that is not the disk's fault: the source is gone, or another program
        // has it open (writing it, or keeping it from being removed).
        enum class Cause { Disk, SourceGone, SourceInUse };
        Cause cause = Cause::Disk;
        bool changed() const { return after != source; }
    };

    struct Listing
    {
        QStringList files;     // plain files, in name order, each a name the runtime can address
        QList<Odd> odd;        // in name order
        QStringList folders;   // but those the system hides
        Why failure;           // why the folder could not be read (a missing folder is empty); then the rest is not whole
    };

    // What a name is, after links.
    enum class Kind { None, File, Folder, Other };
    struct Entry
    {
        Kind kind = Kind::None;
        QString name;          // as it stands on disk, where the system matches names without regard to case
        qint64 modified = 0;   // when its contents (a folder's names) last changed
        Why why;               // why it is None
    };

    // Every name in a folder as it stands on disk, whatever it is.
    struct Names
    {
        QStringList names;
        Why why;
    };

    virtual ~FileAccess() = default;

    // Only a plain file (after links) opens for reading; a FIFO or a device would hang or never end.
    virtual std::unique_ptr<HostFile> open(const QString &hostPath, Mode mode, Why *why) = 0;

    // Copies a plain file to each target in turn from one opening of it, so that every copy holds
    // the same bytes; an existing target is replaced. Stops at the first target that fails.
    virtual bool copy(const QString &from, const QStringList &to, Copy *result, Why *why) = 0;

    virtual bool remove(const QString &hostPath, Why *why) = 0;
    // One new folder, for its user alone where the system gives each file its own permissions.
    virtual bool makeFolder(const QString &hostPath, Why *why) = 0;
    // Gives an existing file a second name, one that is free.
    virtual bool link(const QString &existing, const QString &name, Why *why) = 0;
    // A symbolic link to target under a name that is free.
    virtual bool makeLink(const QString &target, const QString &name, Why *why) = 0;
    // Moves a file to a name that is free.
    virtual bool rename(const QString &from, const QString &to, Why *why) = 0;

    // Puts what was written to these files on disk, and says so only when the system confirms it.
    virtual bool flush(const QStringList &hostFiles, Why *why) = 0;

    virtual Listing list(const QString &hostFolder) = 0;
    virtual Names names(const QString &hostFolder) = 0;
    virtual Entry entry(const QString &hostPath) = 0;
    // Removes what list() finds odd in the folder (but folders): names the program cannot spell,
    // FIFOs, links to devices or to nothing. False, with the first reason, when the folder could not
    // be read or an entry not removed.
    virtual bool removeOdd(const QString &hostFolder, Why *why) = 0;
    virtual Stamp stamp(const QString &hostPath) = 0;

    // Takes the lock of this folder against every other run of the program, for as long as the handle
    // lives; the system releases it when the process ends, however it ends. Nothing a person can remove
    // meanwhile holds it: on Windows a lock file in the folder kept open without delete sharing, on
    // Linux the folder itself. Empty, with busy set when another holds it, or with the reason.
    virtual std::shared_ptr<void> lock(const QString &hostFolder, bool *busy, Why *why) = 0;

    // True when both host paths name one existing file or folder; why says so when the status of
    // either could not be read, and whether they are one cannot be told.
    virtual bool sameFile(const QString &a, const QString &b, Why *why) = 0;

    // While the handle lives, nobody renames or replaces this folder or those above it, so that the
    // files in it need not be looked up by their whole path each time.
    virtual std::shared_ptr<void> pin(const QString &hostFolder)
    {
        Q_UNUSED(hostFolder);
        return nullptr;
    }
};

std::unique_ptr<FileAccess> makeNativeFileAccess();
