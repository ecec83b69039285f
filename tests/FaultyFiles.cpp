#include "FaultyFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString full = QStringLiteral("the disk is full");
const QString down = QStringLiteral("the network name is no longer available");   // what a share that dropped answers

class FaultyFile : public HostFile
{
public:
    FaultyFile(std::unique_ptr<HostFile> real, FaultyFiles &disk, QString hostPath, FileAccess::Mode mode)
        : m_real(std::move(real)), m_disk(disk), m_hostPath(std::move(hostPath)), m_mode(mode)
    {
    }

    qint64 read(char *data, qint64 size, Why *why) override
    {
        const FaultyFiles::Fault *fault = m_disk.faultFor(FaultyFiles::Op::Read, m_hostPath, nullptr);
        if (fault && m_read >= fault->afterBytes) {
            if (why)
                *why = {Cause::Unreachable, QStringLiteral("the disk could not be read")};
            return -1;
        }
        const qint64 got = m_real->read(data, fault ? qMin(size, fault->afterBytes - m_read) : size, why);
        m_read += qMax<qint64>(got, 0);
        return got;
    }

    bool write(const char *data, qint64 size, Why *why) override
    {
        const FaultyFiles::Fault *fault = m_disk.faultFor(FaultyFiles::Op::Write, m_hostPath, nullptr);
        if (!fault || m_written + size <= fault->afterBytes) {
            m_written += size;
            return m_real->write(data, size, why);
        }
        m_real->write(data, qMax<qint64>(0, fault->afterBytes - m_written), nullptr);
        m_written = qMax(m_written, fault->afterBytes);
        if (why)
            *why = {Cause::Full, full};
        return false;
    }

    // A failing close drops the real file unfinished.
    bool finish(Why *why) override
    {
        if (m_disk.faultFor(FaultyFiles::Op::Finish, m_hostPath, why) || !m_real->finish(why))
            return false;
        if (m_mode == FileAccess::Mode::Append || m_mode == FileAccess::Mode::Replace)
            m_disk.onDisk(m_hostPath);
        return true;
    }

private:
    std::unique_ptr<HostFile> m_real;
    FaultyFiles &m_disk;
    QString m_hostPath;
    FileAccess::Mode m_mode;
    qint64 m_written = 0;
    qint64 m_read = 0;
};

// A path through no link (the drive letters are links), as the tests' own file calls take it.
QString plain(const QString &hostPath)
{
    return QFileInfo(hostPath.startsWith(u"\\\\?\\") ? hostPath.mid(4) : hostPath).canonicalFilePath();
}

QStringList itAndAllIn(const QString &path)
{
    QStringList paths{path};
    for (QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        paths << it.next();
    return paths;
}

} // namespace

void FaultyFiles::cacheFrom(const QStringList &roots)
{
    m_roots.clear();
    for (const QString &root : roots)
        m_roots << plain(root);
    m_files.clear();
    restored.clear();
    for (const QString &root : roots)
        onDisk(root);
}

// Folders the program makes stay: what it relies on is its files.
void FaultyFiles::onDisk(const QString &hostPath)
{
    const QString path = plain(hostPath);
    const auto inside = [](const QString &one, const QString &folder) { return (one + u'/').startsWith(folder + u'/'); };
    if (path.isEmpty() || std::none_of(m_roots.cbegin(), m_roots.cend(), [&](const QString &root) { return inside(path, root); }))
        return;
    m_files.removeIf([&](const auto &file) { return inside(file.key(), path); });
    for (const QString &one : itAndAllIn(path)) {
        if (QFile file(one); !QFileInfo(one).isDir() && file.open(QIODevice::ReadOnly))
            m_files.insert(one, {file.readAll(), real().stamp(one)});
    }
}

void FaultyFiles::powerCut()
{
    for (const QString &root : std::as_const(m_roots)) {
        for (const QString &path : itAndAllIn(root)) {
            if (!QFileInfo(path).isDir() && !m_files.contains(path))
                QFile::remove(path);
        }
    }
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        if (real().stamp(it.key()) == it->second)
            continue;
        QFile file(it.key());
        if (!file.open(QIODevice::WriteOnly) || file.write(it->first) != it->first.size() || !file.flush())
            qFatal("the power cut could not bring back %s", qPrintable(it.key()));
        const Stamp back = real().stamp(it.key());
        restored.insert({back.volume, back.file}, {back, it->second});
    }
}

FileAccess::Stamp FaultyFiles::asItWas(const Stamp &now) const
{
    const auto found = restored.constFind({now.volume, now.file});
    return found != restored.cend() && found->first == now ? found->second : now;
}

const FaultyFiles::Fault *FaultyFiles::faultFor(Op op, const QString &hostPath, Why *why)
{
    if (before && op != Op::Read && op != Op::Write && op != Op::Finish)
        before(op, hostPath);
    for (const Fault &fault : std::as_const(faults)) {
        if (fault.op == op && hostPath.contains(fault.pathPart)) {
            if (why)
                *why = op == Op::List || op == Op::Names || op == Op::Status || op == Op::Stamp ? Why{Cause::Unreachable, down} : Why{Cause::Full, full};
            return &fault;
        }
    }
    return nullptr;
}

std::unique_ptr<HostFile> FaultyFiles::open(const QString &hostPath, Mode mode, Why *why)
{
    std::unique_ptr<HostFile> file = faultFor(Op::Open, hostPath, why) ? nullptr : real().open(hostPath, mode, why);
    return file ? std::make_unique<FaultyFile>(std::move(file), *this, hostPath, mode) : nullptr;
}

// With no fault planted and nothing acting meanwhile, a copy goes to the real disk as the program
// asked for it: one read feeding every target. Otherwise target by target, so that the rest of the
// machine can act between two of them; the stamps then show a source that changed in between, as
// one opening of it would see.
bool FaultyFiles::copy(const QString &from, const QStringList &to, Copy *result, Why *why)
{
    if (!before && faults.isEmpty()) {
        const bool ok = real().copy(from, to, result, why);
        result->source = asItWas(result->source);
        result->after = asItWas(result->after);
        return ok;
    }
    for (qsizetype i = 0; i < to.size(); ++i) {
        Copy one;
        const Fault *fault = faultFor(Op::Copy, to.at(i), nullptr);
        const bool ok = real().copy(from, {to.at(i)}, &one, why);
        if (i == 0)
            result->source = asItWas(one.source);
        result->after = asItWas(one.after);
        result->sha256 = one.sha256;
        result->bytes << one.bytes.value(0);
        if (fault) {
            // The disk took this much of the copy and then refused the rest.
            QFile(to.at(i)).resize(qMin(one.bytes.value(0), fault->afterBytes));
            result->bytes.last() = QFileInfo(to.at(i)).size();
            if (why)
                *why = {Cause::Full, full};
        }
        if (!ok || fault) {
            result->failed = i;
            result->cause = one.cause;
            return false;
        }
    }
    return true;
}
