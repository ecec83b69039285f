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

HostPath Runtime::hostPath(const DosPath &path)
{
    stillWorking();
    m_unresolved = {};
    if (path.isEmpty())
        return {};
    if (const DosPath::Pinned *pinned = path.pinned())
        return m_paths->resolveIn(pinned->folder, std::span(path.names().cbegin() + pinned->depth, path.names().cend()), &m_unresolved);
    return m_paths->resolve(path.drive(), path.names(), &m_unresolved);
}

QString Runtime::notFound() const
{
    return m_unresolved.failed() ? m_unresolved.reason : notFoundReason();
}

DosPath Runtime::pin(const DosPath &folder)
{
    const HostPath host = hostPath(folder);
    if (host.isEmpty() || kindOf(host) != FileAccess::Kind::Folder)
        return folder;
    auto pinned = std::make_shared<DosPath::Pinned>();
    pinned->folder = host;
    pinned->depth = folder.names().size();
    pinned->names = m_paths->pin(host);
    pinned->files = m_access->pin(host.native());
    DosPath result = folder;
    result.m_pinned = std::move(pinned);
    return result;
}

bool Runtime::changeDrive(const QString &drive)
{
    if (drive.isEmpty() || !drive[0].isLetter())
        return false;
    const QChar letter = drive[0].toLower();
    if (m_paths->resolve(letter, {}).isEmpty())
        return false;
    m_dos.setCurrentDrive(letter);
    return true;
}

bool Runtime::changeFolder(const DosPath &path)
{
    if (kindOf(hostPath(path)) != FileAccess::Kind::Folder)
        return false;
    m_dos.setCurrentFolder(path);
    return true;
}

DosPath Runtime::currentFolder() const
{
    return currentFolderOf({});
}

DosPath Runtime::currentFolderOf(const QString &drive) const
{
    return m_dos.parse(m_dos.currentFolderOf(drive));
}

bool Runtime::makeFolder(const DosPath &path, QString *error)
{
    const HostPath host = hostPath(path);
    if (host.isEmpty())
        return failWith(error, notFound());
    const FileAccess::Entry there = m_access->entry(host.native());
    if (there.kind != FileAccess::Kind::None)
        return failWith(error, QStringLiteral("it exists already"));
    if (there.why.unknown())
        return failWith(error, there.why.reason);
    if (Why why; !told(m_access->makeFolder(host.native(), &why), why, error))
        return false;
    m_paths->noteCreated(host);
    return true;
}

QStringList Runtime::findAll(const DosPath &pattern, QList<Odd> *odd, QString *failure)
{
    // A pattern that ends in a separator names no file; one whose folder holds wildcards names
    // no folder that can be listed.
    if (pattern.text().isEmpty() || isSeparator(pattern.text().back()) || pattern.names().isEmpty())
        return {};
    const QString namePattern = pattern.names().last();
    const DosPath path = pattern.folder();
    for (const QString &folder : path.names()) {
        if (Wildcard::hasWildcards(folder))
            return {};
    }
    const HostPath folder = hostPath(path);
    if (folder.isEmpty()) {
        // A folder on the way that could not be read is no missing folder.
        if (failure && m_unresolved.failed())
            *failure = m_unresolved.reason;
        return {};
    }
    const FileAccess::Listing listing = m_access->list(folder.native());
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

QString Runtime::findFirst(const DosPath &pattern)
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

bool Runtime::copyFile(const DosPath &from, const QList<DosPath> &to, QString *error, Copy *copy)
{
    Copy unused;
    if (!copy)
        copy = &unused;
    const HostPath source = hostPath(from);
    if (source.isEmpty()) {
        copy->failed = 0;
        return failWith(error, notFound());
    }
    QStringList targets;
    for (const DosPath &path : to) {
        targets << hostPath(path).native();
        if (targets.back().isEmpty()) {
            copy->failed = targets.size() - 1;
            return failWith(error, QStringLiteral("its folder was not found"));
        }
    }
    Why why;
    const bool ok = told(m_access->copy(source.native(), targets, copy, &why), why, error);
    // Every target opened is there now, under the name it was given.
    for (qsizetype i = 0; i < copy->bytes.size(); ++i) {
        if (i != copy->failed || m_access->stamp(targets.at(i)).exists())
            m_paths->noteCreated(HostPath(targets.at(i)));
    }
    return ok;
}

bool Runtime::deleteFile(const DosPath &path, QString *error)
{
    const HostPath host = hostPath(path);
    if (host.isEmpty())
        return failWith(error, notFound());
    if (const FileAccess::Entry there = m_access->entry(host.native()); there.kind != FileAccess::Kind::File)
        return failWith(error, there.why.unknown() ? there.why.reason : notFoundReason());
    if (Why why; !told(m_access->remove(host.native(), &why), why, error))
        return false;
    m_paths->noteRemoved(host);
    return true;
}

Runtime::Removal Runtime::deleteUnchanged(const DosPath &path, const Stamp &stamped, QString *error)
{
    const HostPath host = hostPath(path);
    const Stamp now = host.isEmpty() ? Stamp{.why = m_unresolved} : m_access->stamp(host.native());
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
    if (Why why; !told(m_access->remove(host.native(), &why), why, error))
        return Removal::Failed;
    m_paths->noteRemoved(host);
    return Removal::Removed;
}

void Runtime::deleteFiles(const DosPath &pattern)
{
    const DosPath folder = pattern.folder();
    for (const QString &name : findAll(pattern))
        deleteFile(folder / name);
}

void Runtime::deleteOdd(const DosPath &folder)
{
    const HostPath host = hostPath(folder);
    if (!host.isEmpty())
        m_access->removeOdd(host.native(), nullptr);
}

Runtime::Stamp Runtime::stamp(const DosPath &path)
{
    const HostPath host = hostPath(path);
    if (host.isEmpty())
        return {.why = m_unresolved};
    return m_access->stamp(host.native());
}

QByteArray Runtime::digest(const DosPath &path, qint64 *size, QString *error)
{
    const HostPath host = hostPath(path);
    if (host.isEmpty()) {
        failWith(error, notFound());
        return {};
    }
    Why why;
    const std::unique_ptr<HostFile> file = m_access->open(host.native(), FileAccess::Mode::Read, &why);
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

bool Runtime::syncToDisk(const QList<DosPath> &paths, QString *error)
{
    QStringList hosts;
    for (const DosPath &path : paths)
        hosts << hostPath(path).native();
    Why why;
    return told(m_access->flush(hosts, &why), why, error);
}

bool Runtime::sameFolder(const DosPath &a, const DosPath &b, QString *error)
{
    Why why;
    const bool same = m_access->sameFile(hostPath(a).native(), hostPath(b).native(), &why);
    told(!why.failed(), why, error);
    return same;
}

std::shared_ptr<void> Runtime::lock(const DosPath &path, bool *busy, QString *error)
{
    *busy = false;
    const HostPath host = hostPath(path);
    if (host.isEmpty()) {
        failWith(error, notFound());
        return nullptr;
    }
    Why why;
    std::shared_ptr<void> held = m_access->lock(host.native(), busy, &why);
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

bool Runtime::startProgram(const DosPath &program, const QString &argument, QString *error)
{
    const HostPath host = hostPath(program);
    if (host.isEmpty() || kindOf(host) != FileAccess::Kind::File)
        return failWith(error, notFoundReason());
    return m_host.startProgram(host.native(), argument, error);
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
