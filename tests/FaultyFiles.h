#pragma once

#include "runtime/ForwardingFileAccess.h"

#include <QHash>
#include <QList>
#include <QPair>

#include <functional>

// The host's real files, with a disk that fails where a test says: one operation on a file whose
// host path holds a given part, at once or after a number of bytes, for "the disk is full".
class FaultyFiles : public ForwardingFileAccess
{
public:
    // Name: a folder made and a move; Link: a second name, which some file systems (FAT, shares) refuse;
    // Status: what a name is; List: a folder's files; Names: its names, as a name in it is looked up.
    enum class Op { Open, Read, Write, Finish, Copy, Remove, Flush, Stamp, Name, Link, List, Status, Names };

    struct Fault
    {
        Op op;
        QString pathPart;
        qint64 afterBytes;   // Read, Write and Copy: what gets through before it fails
    };

    void fail(Op op, const QString &pathPart, qint64 afterBytes = 0) { faults.append({op, pathPart, afterBytes}); }
    // The fault this operation meets, after the rest of the machine has acted.
    const Fault *faultFor(Op op, const QString &hostPath, Why *why);

    // A disk cache from now on: what no flush put on disk (nor the close of a file opened to append
    // or replace) is gone when the power is cut. A file the cut brings back is the very file it was.
    void cacheFrom(const QStringList &roots);
    void powerCut();
    // The files a power cut brought back, by their identity now: as they are, and as they were. The
    // machine's disk outlives a run of the program.
    static inline QHash<QPair<quint64, quint64>, QPair<Stamp, Stamp>> restored;
    void onDisk(const QString &hostPath);   // what is there now, under it too, is on disk

    QList<Fault> faults;
    // Runs at the boundary just before the operation, as the rest of the machine would meanwhile.
    std::function<void(Op, const QString &)> before;

    std::unique_ptr<HostFile> open(const QString &hostPath, Mode mode, Why *why) override;
    bool copy(const QString &from, const QStringList &to, Copy *result, Why *why) override;
    bool remove(const QString &hostPath, Why *why) override
    {
        return !faultFor(Op::Remove, hostPath, why) && real().remove(hostPath, why);
    }
    // A status that cannot be read, as a share that drops for a moment gives it.
    Stamp stamp(const QString &hostPath) override
    {
        Stamp unknown;
        return faultFor(Op::Stamp, hostPath, &unknown.why) ? unknown : asItWas(real().stamp(hostPath));
    }
    // A folder that cannot be read, as a share that is down answers.
    Listing list(const QString &hostFolder) override
    {
        Listing unreadable;
        return faultFor(Op::List, hostFolder, &unreadable.failure) ? unreadable : real().list(hostFolder);
    }
    Names names(const QString &hostFolder) override
    {
        Names unreadable;
        return faultFor(Op::Names, hostFolder, &unreadable.why) ? unreadable : real().names(hostFolder);
    }
    // One question to the disk about the pair, "a|b".
    bool sameFile(const QString &a, const QString &b, Why *why) override
    {
        return !faultFor(Op::Status, a + u'|' + b, why) && real().sameFile(a, b, why);
    }
    Entry entry(const QString &hostPath) override
    {
        Entry unknown;
        return faultFor(Op::Status, hostPath, &unknown.why) ? unknown : real().entry(hostPath);
    }
    bool makeFolder(const QString &path, Why *why) override { return !faultFor(Op::Name, path, why) && real().makeFolder(path, why); }
    bool link(const QString &from, const QString &to, Why *why) override { return !faultFor(Op::Link, to, why) && real().link(from, to, why); }
    bool rename(const QString &from, const QString &to, Why *why) override { return !faultFor(Op::Name, to, why) && real().rename(from, to, why); }
    bool flush(const QStringList &hostFiles, Why *why) override
    {
        if (faultFor(Op::Flush, hostFiles.value(0), why) || !real().flush(hostFiles, why))
            return false;
        for (const QString &path : hostFiles)
            onDisk(path);
        return true;
    }

private:
    Stamp asItWas(const Stamp &now) const;
    QStringList m_roots;                                   // the cached parts of the disk
    QHash<QString, QPair<QByteArray, Stamp>> m_files;      // what is on disk: each file, and its stamp then
};
