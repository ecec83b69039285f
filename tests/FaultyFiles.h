#pragma once

#include "runtime/FileAccess.h"

#include <QList>

#include <functional>

// The host's real files, with a disk that fails where a test says: one operation on a file whose
// host path holds a given part, at once or after a number of bytes.
class FaultyFiles : public FileAccess
{
public:
    enum class Op { Open, Write, Finish, Copy, Remove, Flush };

    struct Fault
    {
        Op op;
        QString pathPart;   // a part of the host path it hits
        qint64 afterBytes = 0;   // Write and Copy: what gets through before it fails
        QString reason = QStringLiteral("the disk is full");
    };

    FaultyFiles();

    void fail(Op op, const QString &pathPart, qint64 afterBytes = 0);
    const Fault *faultFor(Op op, const QString &hostPath) const;

    QList<Fault> faults;
    // Runs at the boundary just before the operation, as the rest of the machine would meanwhile.
    std::function<void(Op, const QString &)> before;

    std::unique_ptr<HostFile> open(const QString &hostPath, Mode mode, QString *reason) override;
    bool copy(const QString &from, const QStringList &to, Copy *result, QString *reason) override;
    bool remove(const QString &hostPath, QString *reason) override;
    bool flush(const QStringList &hostFiles, QString *reason) override;
    Listing list(const QString &hostFolder) override;
    Stamp stamp(const QString &hostPath) override;
    bool sameFile(const QString &a, const QString &b) override;
    void setSteady(bool steady) override;

private:
    bool refused(Op op, const QString &hostPath, QString *reason);

    std::unique_ptr<FileAccess> m_real;
};
