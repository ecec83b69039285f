#include "runtime/Failure.h"
#include "runtime/PosixCalls.h"
#include "runtime/PosixFile.h"
#include "runtime/PosixFileAccess.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace PosixCalls;

std::unique_ptr<FileAccess> makeNativeFileAccess()
{
    return std::make_unique<PosixFileAccess>();
}

PosixFileAccess::~PosixFileAccess()
{
    for (const int fd : std::as_const(m_watched))
        ::close(fd);
}

std::shared_ptr<void> PosixFileAccess::pin(const QString &hostFolder)
{
    const QByteArray folder = QFile::encodeName(hostFolder);
    return m_held.hold(folder, [&folder]() -> std::shared_ptr<int> {
        const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        return std::shared_ptr<int>(new int(fd), [](int *descriptor) {
            ::close(*descriptor);
            delete descriptor;
        });
    });
}

// A file in a pinned folder is reached from the folder, held open, rather than by walking its
// whole path again each time.
PosixFileAccess::At PosixFileAccess::at(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0 || m_held.isEmpty())
        return {AT_FDCWD, path};
    if (const std::shared_ptr<int> held = m_held.find(path.left(slash)))
        return {*held, path.mid(slash + 1)};
    return {AT_FDCWD, path};
}

std::unique_ptr<HostFile> PosixFileAccess::open(const QString &hostPath, Mode mode, Why *why)
{
    const QByteArray path = QFile::encodeName(hostPath);
    struct stat st {};
    switch (mode) {
    case Mode::Read: {
        const int fd = openPlain({AT_FDCWD, path}, &st, why);
        return fd < 0 ? nullptr : std::make_unique<PosixFile>(fd);
    }
    case Mode::Write:
    case Mode::Append: {
        const bool append = mode == Mode::Append;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC) | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            failErrno(why);
            return nullptr;
        }
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            failWith(why, Cause::NotFile, notPlain());
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd, QByteArray(), QByteArray(), append);
    }
    case Mode::Replace:
        return PosixFile::replacing(path, why);
    }
    return nullptr;
}

void PosixFileAccess::watchFolderOf(const QByteArray &file)
{
    const QByteArray folder = parentOf(file);
    if (m_watchedFolders.contains(folder))
        return;
    struct stat st {};
    if (::stat(folder.constData(), &st) == 0)
        watch(st.st_dev, folder);
    m_watchedFolders.insert(folder);
}

void PosixFileAccess::watch(quint64 device, const QByteArray &folder)
{
    if (m_watched.contains(device))
        return;
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        m_watched.insert(device, fd);
}

bool PosixFileAccess::remove(const QString &hostPath, Why *why)
{
    const At at = this->at(QFile::encodeName(hostPath));
    return ::unlinkat(at.folder, at.name.constData(), 0) == 0 || failErrno(why);
}

bool PosixFileAccess::flush(const QStringList &hostFiles, Why *why)
{
    for (const QString &file : hostFiles) {
        const QByteArray path = QFile::encodeName(file);
        struct stat st {};
        if (::stat(path.constData(), &st) == 0)
            watch(st.st_dev, S_ISDIR(st.st_mode) ? path : parentOf(path));
    }
    bool ok = true;
    for (const int fd : std::as_const(m_watched)) {
        if (ok && ::syncfs(fd) != 0)
            ok = failErrno(why);
        ::close(fd);
    }
    m_watched.clear();
    m_watchedFolders.clear();
    return ok;
}

FileAccess::Listing PosixFileAccess::list(const QString &hostFolder)
{
    Listing result;
    const int stopped = forEachEntry(QFile::encodeName(hostFolder), [&](int fd, const dirent &entry) {
        const QByteArray raw(entry.d_name);
        bool plain = entry.d_type == DT_REG;
        bool isFolder = entry.d_type == DT_DIR;
        if (!plain && !isFolder) {
            struct stat st {};
            if (::fstatat(fd, entry.d_name, &st, 0) != 0) {
                result.odd.append({QFile::decodeName(raw), QStringLiteral("it leads to nothing")});
                return;
            }
            isFolder = S_ISDIR(st.st_mode);
            plain = S_ISREG(st.st_mode);
            if (!plain && !isFolder) {
                result.odd.append({QFile::decodeName(raw), notPlain()});
                return;
            }
        }
        // A name beginning with a dot is hidden here.
        if (isFolder && !raw.startsWith('.'))
            result.folders << QFile::decodeName(raw);
        if (!plain)
            return;
        const QString name = QFile::decodeName(raw);
        // A name the program's text cannot carry back to the same bytes would address another file.
        if (QFile::encodeName(name) != raw)
            result.odd.append({QString::fromLatin1(raw), QStringLiteral("its name cannot be read on this system")});
        else if (name.contains(u'\\'))
            result.odd.append({name, QStringLiteral("its name holds a backslash")});
        else
            result.files << name;
    });
    // A share that is down is no empty folder: its claims would wait there unsent, unmentioned.
    if (stopped != 0 && stopped != ENOENT && stopped != ENOTDIR)
        result.failure = whyFor(stopped);
    std::sort(result.files.begin(), result.files.end());
    std::sort(result.folders.begin(), result.folders.end());
    std::sort(result.odd.begin(), result.odd.end(), [](const Odd &a, const Odd &b) { return a.shown < b.shown; });
    return result;
}

bool PosixFileAccess::removeOdd(const QString &hostFolder, Why *why)
{
    int failed = 0;
    const int stopped = forEachEntry(QFile::encodeName(hostFolder), [&failed](int fd, const dirent &entry) {
        struct stat st {};
        if (::fstatat(fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
            return;
        struct stat target {};
        const bool plain = ::fstatat(fd, entry.d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
        const QByteArray raw(entry.d_name);
        const QString name = QFile::decodeName(raw);
        if ((!plain || QFile::encodeName(name) != raw || name.contains(u'\\')) && ::unlinkat(fd, entry.d_name, 0) != 0 && !failed)
            failed = errno;
    });
    if (stopped || failed) {
        if (why)
            *why = whyFor(stopped ? stopped : failed);
        return false;
    }
    return true;
}

bool PosixFileAccess::link(const QString &existing, const QString &name, Why *why)
{
    const At to = at(QFile::encodeName(name));
    return ::linkat(AT_FDCWD, QFile::encodeName(existing).constData(), to.folder, to.name.constData(), 0) == 0 || failErrno(why);
}

bool PosixFileAccess::rename(const QString &from, const QString &to, Why *why)
{
    // Never over a file that is there: renameat2 refuses, where the file system knows it.
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return failErrno(why);
    return (::link(source.constData(), target.constData()) == 0 && ::unlink(source.constData()) == 0) || failErrno(why);
}

// Claims pass through the program's folders: they are its user's alone.
bool PosixFileAccess::makeFolder(const QString &hostPath, Why *why)
{
    return ::mkdir(QFile::encodeName(hostPath).constData(), 0700) == 0 || failErrno(why);
}

FileAccess::Stamp PosixFileAccess::stamp(const QString &hostPath)
{
    struct stat st {};
    const At at = this->at(QFile::encodeName(hostPath));
    if (::fstatat(at.folder, at.name.constData(), &st, 0) != 0) {
        Stamp none;
        none.why = whyFor(errno);
        return none;
    }
    if (!S_ISREG(st.st_mode))
        return {};
    return stampOf(st);
}

FileAccess::Entry PosixFileAccess::entry(const QString &hostPath)
{
    Entry result;
    result.name = hostPath.mid(hostPath.lastIndexOf(u'/') + 1);
    struct stat st {};
    if (::stat(QFile::encodeName(hostPath).constData(), &st) != 0) {
        result.why = whyFor(errno);
        return result;
    }
    result.kind = S_ISREG(st.st_mode) ? Kind::File : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
    result.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return result;
}

FileAccess::Names PosixFileAccess::names(const QString &hostFolder)
{
    Names result;
    if (const int stopped = forEachEntry(QFile::encodeName(hostFolder), [&](int, const dirent &entry) {
            result.names << QFile::decodeName(entry.d_name);
        }))
        result.why = whyFor(stopped);
    return result;
}

bool PosixFileAccess::makeLink(const QString &target, const QString &name, Why *why)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()) == 0 || failErrno(why);
}

bool PosixFileAccess::sameFile(const QString &a, const QString &b, Why *why)
{
    struct stat first {}, second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 || ::stat(QFile::encodeName(b).constData(), &second) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            failErrno(why);
        return false;
    }
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::shared_ptr<void> PosixFileAccess::lock(const QString &hostFolder, bool *busy, Why *why)
{
    *busy = false;
    const int fd = ::open(QFile::encodeName(hostFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        failErrno(why);
        return nullptr;
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        *busy = errno == EWOULDBLOCK;
        failErrno(why);
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<void>(new int(fd), [](void *held) {
        ::close(*static_cast<int *>(held));
        delete static_cast<int *>(held);
    });
}
