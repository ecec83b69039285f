#include "FaultyFiles.h"

#include <QFile>

namespace {

class FaultyFile : public HostFile
{
public:
    FaultyFile(std::unique_ptr<HostFile> real, FaultyFiles &disk, QString hostPath)
        : m_real(std::move(real))
        , m_disk(disk)
        , m_hostPath(std::move(hostPath))
    {
    }

    qint64 read(char *data, qint64 size, QString *reason) override { return m_real->read(data, size, reason); }

    bool write(const char *data, qint64 size, QString *reason) override
    {
        if (const FaultyFiles::Fault *fault = m_disk.faultFor(FaultyFiles::Op::Write, m_hostPath)) {
            if (m_written + size > fault->afterBytes) {
                const qint64 through = qMax<qint64>(0, fault->afterBytes - m_written);
                m_real->write(data, through, nullptr);
                m_written += through;
                if (reason)
                    *reason = fault->reason;
                return false;
            }
        }
        m_written += size;
        return m_real->write(data, size, reason);
    }

    bool finish(QString *reason) override
    {
        if (const FaultyFiles::Fault *fault = m_disk.faultFor(FaultyFiles::Op::Finish, m_hostPath)) {
            if (reason)
                *reason = fault->reason;
            return false;   // the real file is dropped unfinished, as a failed close leaves it
        }
        return m_real->finish(reason);
    }

private:
    std::unique_ptr<HostFile> m_real;
    FaultyFiles &m_disk;
    QString m_hostPath;
    qint64 m_written = 0;
};

} // namespace

FaultyFiles::FaultyFiles()
    : m_real(makeNativeFileAccess())
{
}

void FaultyFiles::fail(Op op, const QString &pathPart, qint64 afterBytes)
{
    faults.append({op, pathPart, afterBytes});
}

const FaultyFiles::Fault *FaultyFiles::faultFor(Op op, const QString &hostPath) const
{
    for (const Fault &fault : faults) {
        if (fault.op == op && hostPath.contains(fault.pathPart))
            return &fault;
    }
    return nullptr;
}

bool FaultyFiles::refused(Op op, const QString &hostPath, QString *reason)
{
    if (before)
        before(op, hostPath);
    const Fault *fault = faultFor(op, hostPath);
    if (fault && reason)
        *reason = fault->reason;
    return fault != nullptr;
}

std::unique_ptr<HostFile> FaultyFiles::open(const QString &hostPath, Mode mode, QString *reason)
{
    if (refused(Op::Open, hostPath, reason))
        return nullptr;
    std::unique_ptr<HostFile> real = m_real->open(hostPath, mode, reason);
    if (!real)
        return nullptr;
    return std::make_unique<FaultyFile>(std::move(real), *this, hostPath);
}

// Target by target, so that the rest of the machine can act between two of them; the stamps then
// show a source that changed in between, as one opening of it would see.
bool FaultyFiles::copy(const QString &from, const QStringList &to, Copy *result, QString *reason)
{
    for (qsizetype i = 0; i < to.size(); ++i) {
        if (before)
            before(Op::Copy, to.at(i));
        Copy one;
        const Fault *fault = faultFor(Op::Copy, to.at(i));
        const bool ok = m_real->copy(from, {to.at(i)}, &one, fault ? nullptr : reason);
        if (i == 0)
            result->source = one.source;
        result->after = one.after;
        qint64 copied = one.bytes.value(0);
        if (fault) {
            // The disk took this much of the copy and then refused the rest.
            QFile target(to.at(i));
            target.resize(qMin(copied, fault->afterBytes));
            copied = target.size();
            if (reason)
                *reason = fault->reason;
        }
        result->bytes << copied;
        if (!ok || fault) {
            result->failed = i;
            return false;
        }
    }
    return true;
}

bool FaultyFiles::remove(const QString &hostPath, QString *reason)
{
    return !refused(Op::Remove, hostPath, reason) && m_real->remove(hostPath, reason);
}

bool FaultyFiles::flush(const QStringList &hostFiles, QString *reason)
{
    const QString first = hostFiles.value(0);
    return !refused(Op::Flush, first, reason) && m_real->flush(hostFiles, reason);
}

FileAccess::Listing FaultyFiles::list(const QString &hostFolder)
{
    return m_real->list(hostFolder);
}

FileAccess::Stamp FaultyFiles::stamp(const QString &hostPath)
{
    return m_real->stamp(hostPath);
}

bool FaultyFiles::sameFile(const QString &a, const QString &b)
{
    return m_real->sameFile(a, b);
}

void FaultyFiles::setSteady(bool steady)
{
    m_real->setSteady(steady);
}
