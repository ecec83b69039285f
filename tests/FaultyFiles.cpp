#include "FaultyFiles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString full = QStringLiteral("the disk is full");

class FaultyFile : public HostFile
{
public:
    FaultyFile(std::unique_ptr<HostFile> real, FaultyFiles &disk, QString hostPath)
        : m_real(std::move(real)), m_disk(disk), m_hostPath(std::move(hostPath))
    {
    }

    qint64 read(char *data, qint64 size, QString *reason) override
    {
        const FaultyFiles::Fault *fault = m_disk.faultFor(FaultyFiles::Op::Read, m_hostPath, nullptr);
        if (fault && m_read >= fault->afterBytes) {
            if (reason)
                *reason = QStringLiteral("the disk could not be read");
            return -1;
        }
        const qint64 got = m_real->read(data, fault ? qMin(size, fault->afterBytes - m_read) : size, reason);
        m_read += qMax<qint64>(got, 0);
        return got;
    }

    bool write(const char *data, qint64 size, QString *reason) override
    {
        const FaultyFiles::Fault *fault = m_disk.faultFor(FaultyFiles::Op::Write, m_hostPath, nullptr);
        if (!fault || m_written + size <= fault->afterBytes) {
            m_written += size;
            return m_real->write(data, size, reason);
        }
        m_real->write(data, qMax<qint64>(0, fault->afterBytes - m_written), nullptr);
        m_written = qMax(m_written, fault->afterBytes);
        if (reason)
            *reason = full;
        return false;
    }

    // A failing close drops the real file unfinished.
    bool finish(QString *reason) override
    {
        return !m_disk.faultFor(FaultyFiles::Op::Finish, m_hostPath, reason) && m_real->finish(reason);
    }

private:
    std::unique_ptr<HostFile> m_real;
    FaultyFiles &m_disk;
    QString m_hostPath;
    qint64 m_written = 0;
    qint64 m_read = 0;
};

} // namespace

const FaultyFiles::Fault *FaultyFiles::faultFor(Op op, const QString &hostPath, QString *reason)
{
    if (before && op != Op::Read && op != Op::Write && op != Op::Finish)
        before(op, hostPath);
    for (const Fault &fault : std::as_const(faults)) {
        if (fault.op == op && hostPath.contains(fault.pathPart)) {
            if (reason)
                *reason = full;
            return &fault;
        }
    }
    return nullptr;
}

std::unique_ptr<HostFile> FaultyFiles::open(const QString &hostPath, Mode mode, QString *reason)
{
    std::unique_ptr<HostFile> file = faultFor(Op::Open, hostPath, reason) ? nullptr : real().open(hostPath, mode, reason);
    return file ? std::make_unique<FaultyFile>(std::move(file), *this, hostPath) : nullptr;
}

// A copy no fault is planted on goes to the real disk as the program asked for it: one read feeding
// every target. Otherwise target by target, so that the rest of the machine can act between two of
// them; the stamps then show a source that changed in between, as one opening of it would see.
bool FaultyFiles::copy(const QString &from, const QStringList &to, Copy *result, QString *reason)
{
    const bool planted = std::any_of(faults.cbegin(), faults.cend(), [&](const Fault &fault) {
        return fault.op == Op::Copy && std::any_of(to.cbegin(), to.cend(), [&](const QString &target) { return target.contains(fault.pathPart); });
    });
    if (!before && !planted)
        return real().copy(from, to, result, reason);
    for (qsizetype i = 0; i < to.size(); ++i) {
        Copy one;
        const Fault *fault = faultFor(Op::Copy, to.at(i), nullptr);
        const bool ok = real().copy(from, {to.at(i)}, &one, reason);
        if (i == 0)
            result->source = one.source;
        result->after = one.after;
        result->sha256 = one.sha256;
        result->bytes << one.bytes.value(0);
        if (fault) {
            // The disk took this much of the copy and then refused the rest.
            QFile(to.at(i)).resize(qMin(one.bytes.value(0), fault->afterBytes));
            result->bytes.last() = QFileInfo(to.at(i)).size();
            if (reason)
                *reason = full;
        }
        if (!ok || fault) {
            result->failed = i;
            result->cause = one.cause;
            return false;
        }
    }
    return true;
}
