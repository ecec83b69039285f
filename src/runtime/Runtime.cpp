#include "runtime/Runtime.h"

#include "runtime/Failure.h"
#include "runtime/PathMapper.h"
#include "runtime/Sha256.h"
#include "runtime/Wildcard.h"

#include <QCoreApplication>

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

Runtime::Runtime(Host &host, std::unique_ptr<FileAccess> files)
    : m_host(host)
    , m_access(std::move(files))
    , m_paths(makeNativePathMapper(host.driveFolder(), *m_access))
{
}

Runtime::~Runtime() = default;

void Runtime::prepareDrives()
{
    m_paths->prepare();
}

QString Runtime::hostPath(const DosPaths::Path &path)
{
    m_unresolved = {};
    return m_paths->resolve(path.drive, path.names, &m_unresolved);
}

QString Runtime::notFound() const
{
    return m_unresolved.failed() ? m_unresolved.reason : notFoundReason();
}

// While the folders are steady, a path is parsed once, however often it is named.
DosPaths::Path Runtime::parse(const QString &path)
{
    if (!m_steady)
        return m_dos.parse(path);
    auto known = m_parsed.constFind(path);
    if (known == m_parsed.cend())
        known = m_parsed.insert(path, m_dos.parse(path));
    return *known;
}

QString Runtime::hostPath(const QString &path)
{
    stillWorking();
    if (!m_steady)
        return hostPath(parse(path));
    // Work on thousands of files names each of them several times.
    auto known = m_resolved.constFind(path);
    if (known != m_resolved.cend())
        return *known;
    const QString host = hostPath(parse(path));
    if (!host.isEmpty())
        m_resolved.insert(path, host);
    return host;
}

bool Runtime::changeDrive(const QString &drive)
{
    if (drive.isEmpty() || !drive[0].isLetter())
        return false;
    const QChar letter = drive[0].toLower();
    if (m_paths->resolve(letter, {}).isEmpty())
        return false;
    m_dos.setCurrentDrive(letter);
    m_resolved.clear();
    m_parsed.clear();
    return true;
}

bool Runtime::changeFolder(const QString &path)
{
    const DosPaths::Path target = m_dos.parse(path);
    if (kindOf(hostPath(target)) != FileAccess::Kind::Folder)
        return false;
    m_dos.setCurrentFolder(target);
    m_resolved.clear();
    m_parsed.clear();
    return true;
}

QString Runtime::currentFolder() const
{
    return m_dos.currentFolderOf({});
}

QString Runtime::currentFolderOf(const QString &drive) const
{
    return m_dos.currentFolderOf(drive);
}

bool Runtime::makeFolder(const QString &path, QString *error)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return failWith(error, notFound());
    const FileAccess::Entry there = m_access->entry(host);
    if (there.kind != FileAccess::Kind::None)
        return failWith(error, QStringLiteral("it exists already"));
    if (there.why.unknown())
        return failWith(error, there.why.reason);
    if (Why why; !told(m_access->makeFolder(host, &why), why, error))
        return false;
    m_paths->noteCreated(host);
    return true;
}

QStringList Runtime::findAll(const QString &pattern, QList<Odd> *odd, QString *failure)
{
    // A pattern that ends in a separator names no file; one whose folder holds wildcards names
    // no folder that can be listed.
    if (pattern.isEmpty() || isSeparator(pattern.back()))
        return {};
    DosPaths::Path path = parse(pattern);
    if (path.names.isEmpty())
        return {};
    const QString namePattern = path.names.takeLast();
    for (const QString &folder : std::as_const(path.names)) {
        if (Wildcard::hasWildcards(folder))
            return {};
    }
    const QString folder = hostPath(path);
    if (folder.isEmpty()) {
        // A folder on the way that could not be read is no missing folder.
        if (failure && m_unresolved.failed())
            *failure = m_unresolved.reason;
        return {};
    }
    const FileAccess::Listing listing = m_access->list(folder);
    stillWorking();
    if (failure)
        *failure = listing.failure.reason;
    QStringList result;
    for (const QString &entry : listing.files) {
        if (Wildcard::matches(namePattern, entry))
            result << entry;
    }
    if (odd) {
        for (const Odd &entry : listing.odd) {
            if (Wildcard::matches(namePattern, entry.shown))
                odd->append(entry);
        }
    }
    return result;
}

QString Runtime::findFirst(const QString &pattern)
{
    m_found = findAll(pattern);
    m_foundNext = 0;
    return findNext();
}

QString Runtime::findNext()
{
    if (m_foundNext >= m_found.size())
        return {};
    return m_found.at(m_foundNext++);
}

bool Runtime::copyFile(const QString &from, const QStringList &to, QString *error, Copy *copy)
{
    Copy unused;
    if (!copy)
        copy = &unused;
    const QString source = hostPath(from);
    if (source.isEmpty()) {
        copy->failed = 0;
        return failWith(error, notFound());
    }
    QStringList targets;
    for (const QString &path : to) {
        targets << hostPath(path);
        if (targets.back().isEmpty()) {
            copy->failed = targets.size() - 1;
            return failWith(error, QStringLiteral("its folder was not found"));
        }
    }
    Why why;
    const bool ok = told(m_access->copy(source, targets, copy, &why), why, error);
    // Every target opened is there now, under the name it was given.
    for (qsizetype i = 0; i < copy->bytes.size(); ++i) {
        if (i != copy->failed || m_access->stamp(targets.at(i)).exists())
            m_paths->noteCreated(targets.at(i));
    }
    return ok;
}

bool Runtime::deleteFile(const QString &path, QString *error)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return failWith(error, notFound());
    if (const FileAccess::Entry there = m_access->entry(host); there.kind != FileAccess::Kind::File)
        return failWith(error, there.why.unknown() ? there.why.reason : notFoundReason());
    if (Why why; !told(m_access->remove(host, &why), why, error))
        return false;
    m_paths->noteRemoved(host);
    return true;
}

Runtime::Removal Runtime::deleteUnchanged(const QString &path, const Stamp &stamped, QString *error)
{
    const QString host = hostPath(path);
    const Stamp now = host.isEmpty() ? Stamp{.why = m_unresolved} : m_access->stamp(host);
    // Only "no such file" means it is gone; a share that drops for a moment says something else.
    if (now.unknown()) {
        if (error)
            *error = QStringLiteral("its status could not be read");
        return Removal::Failed;
    }
    if (!now.exists())
        return Removal::Gone;
    if (now != stamped)
        return Removal::Changed;
    if (Why why; !told(m_access->remove(host, &why), why, error))
        return Removal::Failed;
    m_paths->noteRemoved(host);
    return Removal::Removed;
}

void Runtime::setFoldersSteady(bool steady)
{
    m_steady = steady;
    m_resolved.clear();
    m_parsed.clear();
    m_paths->setSteady(steady);
    m_access->setSteady(steady);
}

void Runtime::deleteFiles(const QString &pattern)
{
    const QStringList names = findAll(pattern);
    DosPaths::Path folder = parse(pattern);
    if (names.isEmpty() || folder.names.isEmpty())
        return;
    folder.names.removeLast();
    const QString prefix = DosPaths::qualified(folder);
    for (const QString &name : names)
        deleteFile(prefix + name);
}

void Runtime::deleteOdd(const QString &folder)
{
    const QString host = hostPath(folder);
    if (!host.isEmpty())
        m_access->removeOdd(host);
}

Runtime::Stamp Runtime::stamp(const QString &path)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return {.why = m_unresolved};
    return m_access->stamp(host);
}

QByteArray Runtime::digest(const QString &path, qint64 *size, QString *error)
{
    const QString host = hostPath(path);
    if (host.isEmpty()) {
        failWith(error, notFound());
        return {};
    }
    Why why;
    const std::unique_ptr<HostFile> file = m_access->open(host, FileAccess::Mode::Read, &why);
    if (!told(file != nullptr, why, error))
        return {};
    QByteArray bytes;
    for (qint64 got = 1; got > 0;) {
        const qsizetype had = bytes.size();
        bytes.resize(had + 64 * 1024);
        got = file->read(bytes.data() + had, 64 * 1024, &why);
        if (!told(got >= 0, why, error))
            return {};
        bytes.resize(had + got);
    }
    *size = bytes.size();
    return Sha256::of(bytes);
}

bool Runtime::syncToDisk(const QStringList &paths, QString *error)
{
    QStringList hosts;
    for (const QString &path : paths)
        hosts << hostPath(path);
    Why why;
    return told(m_access->flush(hosts, &why), why, error);
}

bool Runtime::sameFolder(const QString &a, const QString &b)
{
    return m_access->sameFile(hostPath(a), hostPath(b));
}

std::shared_ptr<void> Runtime::lock(const QString &path, bool *busy, QString *error)
{
    *busy = false;
    const QString host = hostPath(path);
    if (host.isEmpty()) {
        failWith(error, notFound());
        return nullptr;
    }
    Why why;
    std::shared_ptr<void> held = m_access->lock(host, busy, &why);
    told(held != nullptr, why, error);
    return held;
}

QString Runtime::currentDate() const
{
    return m_host.now().toString(QStringLiteral("MM-dd-yyyy"));
}

QString Runtime::currentTime() const
{
    return m_host.now().toString(QStringLiteral("HH:mm:ss"));
}

bool Runtime::startProgram(const QString &program, const QString &argument, QString *error)
{
    const QString host = hostPath(program);
    if (host.isEmpty() || kindOf(host) != FileAccess::Kind::File)
        return failWith(error, notFoundReason());
    return m_host.startProgram(host, argument, error);
}

Host::Answer Runtime::messageBox(const QString &text, Host::Buttons buttons, const QString &details)
{
    return m_host.messageBox(text, buttons, details);
}

void Runtime::endProgram()
{
    closeAll();
    m_ended = true;
    QCoreApplication::exit(0);
}
