#pragma once

#include "runtime/ForwardingFileAccess.h"

#include <QList>

#include <functional>

// The host's real files, with a disk that fails where a test says: one operation on a file whose
// host path holds a given part, at once or after a number of bytes, for "the disk is full".
class FaultyFiles : public ForwardingFileAccess
{
public:
    enum class Op { Open, Read, Write, Finish, Copy, Remove, Flush, Stamp, Name };   // Name: a folder made, a link, a move

    struct Fault
    {
        Op op;
        QString pathPart;
        qint64 afterBytes;   // Read, Write and Copy: what gets through before it fails
    };

    void fail(Op op, const QString &pathPart, qint64 afterBytes = 0) { faults.append({op, pathPart, afterBytes}); }
    // The fault this operation meets, after the rest of the machine has acted.
    const Fault *faultFor(Op op, const QString &hostPath, QString *reason);

    QList<Fault> faults;
    // Runs at the boundary just before the operation, as the rest of the machine would meanwhile.
    std::function<void(Op, const QString &)> before;

    std::unique_ptr<HostFile> open(const QString &hostPath, Mode mode, QString *reason) override;
    bool copy(const QString &from, const QStringList &to, Copy *result, QString *reason) override;
    bool remove(const QString &hostPath, QString *reason) override
    {
        return !faultFor(Op::Remove, hostPath, reason) && real().remove(hostPath, reason);
    }
    // A status that cannot be read, as a share that drops for a moment gives it.
    Stamp stamp(const QString &hostPath) override
    {
        Stamp unknown;
        unknown.unknown = true;
        return faultFor(Op::Stamp, hostPath, nullptr) ? unknown : real().stamp(hostPath);
    }
    bool makeFolder(const QString &path, QString *reason) override { return !faultFor(Op::Name, path, reason) && real().makeFolder(path, reason); }
    bool link(const QString &from, const QString &to, QString *reason) override { return !faultFor(Op::Name, to, reason) && real().link(from, to, reason); }
    bool rename(const QString &from, const QString &to, QString *reason) override { return !faultFor(Op::Name, to, reason) && real().rename(from, to, reason); }
    bool flush(const QStringList &hostFiles, QString *reason) override
    {
        return !faultFor(Op::Flush, hostFiles.value(0), reason) && real().flush(hostFiles, reason);
    }
};
