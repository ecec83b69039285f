#include "FaultyFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString full = QStringLiteral("the disk is full");

class FaultyFile : public HostFile
{
public:
    FaultyFile(std::unique_ptr<HostFile> real, FaultyFiles &disk, QString hostPath, FileAccess::Mode mode)
        : m_real(std::move(real)), m_disk(disk), m_hostPath(std::move(hostPath)), m_mode(mode)
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
        if (m_disk.faultFor(FaultyFiles::Op::Finish, m_hostPath, reason) || !m_real->finish(reason))
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

// A path as the tests' own file calls take it, through no link (the drive letters are links).
QString plain(const QString &hostPath)
{
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(hostPath.startsWith(u"\\\\?\\") ? hostPath.mid(4) : hostPath));
    const QFileInfo info(path);
    if (info.exists() || path == info.path())
        return info.canonicalFilePath();
    return plain(info.path()) + u'/' + info.fileName();
}

} // namespace

void FaultyFiles::cacheFrom(const QStringList &roots)
{
    m_roots.clear();
    for (const QString &root : roots)
        m_roots << plain(root);
    m_files.clear();
    m_stamps.clear();
    m_folders.clear();
    for (const QString &root : roots)
        onDisk(root);
}

void FaultyFiles::onDisk(const QString &hostPath)
{
    const QString path = plain(hostPath);
    const QString key = path.toCaseFolded();
    if (std::none_of(m_roots.cbegin(), m_roots.cend(), [&](const QString &root) { return (key + u'/').startsWith(root.toCaseFolded() + u'/'); }))
        return;
    const auto under = [&](const QString &other) { return other == key || other.startsWith(key + u'/'); };
    m_files.removeIf([&](const auto &entry) { return under(entry.key()); });
    m_folders.removeIf([&](const auto &entry) { return under(entry.key()); });
    QStringList paths{path};
    for (QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        paths << it.next();
    for (const QString &one : std::as_const(paths)) {
        const QFileInfo info(one);
        QFile file(one);
        if (info.isDir())
            m_folders.insert(one.toCaseFolded(), one);
        else if (info.exists() && file.open(QIODevice::ReadOnly))
            m_files.insert(one.toCaseFolded(), {one, file.readAll()}), m_stamps.insert(one.toCaseFolded(), real().stamp(one));
    }
}

void FaultyFiles::powerCut()
{
    QStringList now;
    for (const QString &root : std::as_const(m_roots)) {
        for (QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
            now << it.next();
    }
    // Deepest first, so that a folder is empty by the time it goes.
    std::sort(now.rbegin(), now.rend());
    for (const QString &path : std::as_const(now)) {
        if (QFileInfo(path).isDir())
            m_folders.contains(path.toCaseFolded()) || QDir().rmdir(path);
        else if (!m_files.contains(path.toCaseFolded()))
            QFile::remove(path);
    }
    for (const QString &folder : std::as_const(m_folders))
        QDir().mkpath(folder);
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        const QString &path = it->first;
        const Stamp was = m_stamps.value(it.key());
        if (real().stamp(path) == was)
            continue;
        QFile::remove(path);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(it->second) != it->second.size())
            qFatal("the power cut could not bring back %s", qPrintable(path));
        file.close();
        const Stamp back = real().stamp(path);
        restored.insert({back.volume, back.file}, {back, was});
    }
}

FileAccess::Stamp FaultyFiles::asItWas(const Stamp &now) const
{
    const auto found = restored.constFind({now.volume, now.file});
    return found != restored.cend() && found->first == now ? found->second : now;
}

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
    return file ? std::make_unique<FaultyFile>(std::move(file), *this, hostPath, mode) : nullptr;
}

// A copy no fault is planted on goes to the real disk as the program asked for it: one read feeding
// every target. Otherwise target by target, so that the rest of the machine can act between two of
// them; the stamps then show a source that changed in between, as one opening of it would see.
bool FaultyFiles::copy(const QString &from, const QStringList &to, Copy *result, QString *reason)
{
    const bool planted = std::any_of(faults.cbegin(), faults.cend(), [&](const Fault &fault) {
        return fault.op == Op::Copy && std::any_of(to.cbegin(), to.cend(), [&](const QString &target) { return target.contains(fault.pathPart); });
    });
    if (!before && !planted) {
        const bool ok = real().copy(from, to, result, reason);
        result->source = asItWas(result->source);
        result->after = asItWas(result->after);
        return ok;
    }
    for (qsizetype i = 0; i < to.size(); ++i) {
        Copy one;
        const Fault *fault = faultFor(Op::Copy, to.at(i), nullptr);
        const bool ok = real().copy(from, {to.at(i)}, &one, reason);
        if (i == 0)
            result->source = asItWas(one.source);
        result->after = asItWas(one.after);
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
