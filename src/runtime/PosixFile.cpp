#include "runtime/PosixFile.h"

#include "runtime/Failure.h"
#include "runtime/PosixCalls.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace PosixCalls;

PosixFile::PosixFile(int fd, QByteArray temporary, QByteArray target, bool durable)
    : m_fd(fd)
    , m_temporary(std::move(temporary))
    , m_target(std::move(target))
    , m_durable(durable)
{
}

PosixFile::~PosixFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

qint64 PosixFile::read(char *data, qint64 size, Why *why)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, data, size_t(size));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            failErrno(why);
            return -1;
        }
    }
}

bool PosixFile::write(const char *data, qint64 size, Why *why)
{
    return writeAll(m_fd, data, size, why);
}

bool PosixFile::finish(Why *why)
{
    const int fd = std::exchange(m_fd, -1);
    if (m_durable && ::fdatasync(fd) != 0) {
        failErrno(why);
        ::close(fd);
        return false;
    }
    if (m_temporary.isEmpty())
        return closeChecked(fd, why);
    // The new file is on disk before it takes the old one's name, or the old one stays.
    if (::fsync(fd) != 0) {
        failErrno(why);
        ::close(fd);
        return false;
    }
    if (!closeChecked(fd, why) || ::rename(m_temporary.constData(), m_target.constData()) != 0)
        return failErrno(why);
    m_temporary.clear();
    const int folder = ::open(parentOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

std::unique_ptr<HostFile> PosixFile::replacing(const QByteArray &path, Why *why)
{
    QByteArray target = path;
    struct stat existing {};
    const bool exists = ::stat(path.constData(), &existing) == 0;
    if (exists && S_ISREG(existing.st_mode)) {
        // A link to the setup file keeps pointing at it: the file it leads to is what is replaced.
        if (char *real = ::realpath(path.constData(), nullptr)) {
            target = real;
            ::free(real);
        }
        if (::access(target.constData(), W_OK) != 0) {
            errno == EACCES ? failWith(why, Cause::Denied, QStringLiteral("it is read-only")) : failErrno(why);
            return nullptr;
        }
    }
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = target.left(slash + 1) + '.' + target.mid(slash + 1) + ".new-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        failErrno(why);
        return nullptr;
    }
    // The program's files are its user's alone: a replaced one keeps no more than that.
    mode_t mode = 0;
    if (exists && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 0600;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0600 & ~mask;
    }
    ::fchmod(fd, mode);
    return std::make_unique<PosixFile>(fd, std::move(temporary), std::move(target));
}
