#pragma once

#include "runtime/FileAccess.h"

#include <QList>

#include <functional>

// The host's real files, with a disk that fails where a test says: one operation on a file whose
// host path holds a given part, at once or after a number of bytes, for "the disk is full".
class FaultyFiles : public FileAccess
{
public:
    enum class Op { Open, Read, Write, Finish, Copy, Remove, Flush };

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
        return !faultFor(Op::Remove, hostPath, reason) && m_real->remove(hostPath, reason);
    }
    bool flush(const QStringList &hostFiles, QString *reason) override
    {
        return !faultFor(Op::Flush, hostFiles.value(0), reason) && m_real->flush(hostFiles, reason);
    }
    Listing list(const QString &hostFolder) override { return m_real->list(hostFolder); }
    void removeOdd(const QString &hostFolder) override { m_real->removeOdd(hostFolder); }
    Stamp stamp(const QString &hostPath) override { return m_real->stamp(hostPath); }
    bool sameFile(const QString &a, const QString &b) override { return m_real->sameFile(a, b); }
    std::shared_ptr<void> lock(const QString &hostPath, bool *busy, QString *reason) override
    {
        return m_real->lock(hostPath, busy, reason);
    }
    void setSteady(bool steady) override { m_real->setSteady(steady); }

private:
    std::unique_ptr<FileAccess> m_real = makeNativeFileAccess();
};
