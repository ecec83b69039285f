#include "runtime/PosixCalls.h"

#include "runtime/Failure.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace PosixCalls {

QString reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("the disk is full");
    case EROFS: return QStringLiteral("the disk is read-only");
    case EACCES:
    case EPERM: return QStringLiteral("access is denied");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("it was not found");
    case EISDIR: return QStringLiteral("it is a folder");
    case EIO: return QStringLiteral("the disk could not be read or written");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("it is in use");
    case ENAMETOOLONG: return QStringLiteral("its name is too long");
    case EMFILE:
    case ENFILE: return QStringLiteral("too many files are open");
    default: return QStringLiteral("the system reported: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

FileAccess::Why whyFor(int error)
{
    using Cause = FileAccess::Cause;
    Cause cause = Cause::Other;
    switch (error) {
    case ENOENT: cause = Cause::Missing; break;
    case ENOTDIR: cause = Cause::NotFolder; break;
    case EISDIR: cause = Cause::NotFile; break;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK: cause = Cause::InUse; break;
    case ENOSPC:
    case EDQUOT: cause = Cause::Full; break;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ESTALE:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ENOTCONN:
    case ECONNRESET:
    case ECONNABORTED: cause = Cause::Unreachable; break;
    case EACCES:
    case EPERM:
    case EROFS: cause = Cause::Denied; break;
    case EEXIST: cause = Cause::Exists; break;
    default: break;
    }
    return {cause, reasonFor(error)};
}

bool failErrno(Why *why)
{
    if (why)
        *why = whyFor(errno);
    return false;
}

QString notPlain()
{
    return QStringLiteral("it is not a plain file");
}

FileAccess::Stamp stampOf(const struct stat &st)
{
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_dev),
            quint64(st.st_ino), qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec, quint32(st.st_nlink), {}};
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// O_NONBLOCK keeps a FIFO from holding the open.
int openPlain(const At &at, struct stat *st, Why *why)
{
    const int fd = ::openat(at.folder, at.name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failErrno(why);
        return -1;
    }
    if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        ::close(fd);
        failWith(why, Cause::NotFile, notPlain());
        return -1;
    }
    return fd;
}

int forEachEntry(const QByteArray &folder, const std::function<void(int fd, const dirent &entry)> &each)
{
    DIR *walk = ::opendir(folder.constData());
    if (!walk)
        return errno;
    int stopped = 0;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(walk);
        if (!entry) {
            stopped = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            each(::dirfd(walk), *entry);
    }
    ::closedir(walk);
    return stopped;
}

bool writeAll(int fd, const char *data, qint64 size, Why *why)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failErrno(why);
        }
        data += n;
        size -= n;
    }
    return true;
}

bool closeChecked(int fd, Why *why)
{
    return ::close(fd) == 0 || failErrno(why);
}

} // namespace PosixCalls
