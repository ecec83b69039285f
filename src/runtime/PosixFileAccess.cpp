#include "runtime/PosixFileAccess.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

bool failErrno(QString *reason)
{
    return fail(reason, reasonFor(errno));
}

const QString notPlain = QStringLiteral("it is not a plain file");

FileAccess::Stamp stampOf(const struct stat &st)
{
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// Opens a file for reading only if it is a plain file; O_NONBLOCK keeps a FIFO from holding the open.
int openPlain(const QByteArray &path, struct stat *st, QString *reason)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failErrno(reason);
        return -1;
    }
    if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        ::close(fd);
        fail(reason, notPlain);
        return -1;
    }
    return fd;
}

bool writeAll(int fd, const char *data, qint64 size, QString *reason)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failErrno(reason);
        }
        data += n;
        size -= n;
    }
    return true;
}

bool closeChecked(int fd, QString *reason)
{
    return ::close(fd) == 0 || failErrno(reason);
}

class PosixFile : public HostFile
{
public:
    PosixFile(int fd, QByteArray temporary = {}, QByteArray target = {})
        : m_fd(fd)
        , m_temporary(std::move(temporary))
        , m_target(std::move(target))
    {
    }

    ~PosixFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
    }

    qint64 read(char *data, qint64 size, QString *reason) override
    {
        for (;;) {
            const ssize_t n = ::read(m_fd, data, size_t(size));
            if (n >= 0)
                return n;
            if (errno != EINTR) {
                failErrno(reason);
                return -1;
            }
        }
    }

    bool write(const char *data, qint64 size, QString *reason) override
    {
        return writeAll(m_fd, data, size, reason);
    }

    bool finish(QString *reason) override
    {
        const int fd = std::exchange(m_fd, -1);
        if (m_temporary.isEmpty())
            return closeChecked(fd, reason);
        // The new file is on disk before it takes the old one's name, or the old one stays.
        if (::fsync(fd) != 0) {
            failErrno(reason);
            ::close(fd);
            return false;
        }
        if (!closeChecked(fd, reason) || ::rename(m_temporary.constData(), m_target.constData()) != 0)
            return failErrno(reason);
        m_temporary.clear();
        const int folder = ::open(parentOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return true;
    }

private:
    int m_fd;
    QByteArray m_temporary;
    QByteArray m_target;
};

std::unique_ptr<HostFile> openReplacing(const QByteArray &path, QString *reason)
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
            fail(reason, errno == EACCES ? QStringLiteral("it is read-only") : reasonFor(errno));
            return nullptr;
        }
    }
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = target.left(slash + 1) + '.' + target.mid(slash + 1) + ".new-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        failErrno(reason);
        return nullptr;
    }
    mode_t mode = 0;
    if (exists && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    return std::make_unique<PosixFile>(fd, std::move(temporary), std::move(target));
}

} // namespace

std::unique_ptr<FileAccess> makeNativeFileAccess()
{
    return std::make_unique<PosixFileAccess>();
}

PosixFileAccess::~PosixFileAccess()
{
    for (const int fd : std::as_const(m_watched))
        ::close(fd);
}

std::unique_ptr<HostFile> PosixFileAccess::open(const QString &hostPath, Mode mode, QString *reason)
{
    const QByteArray path = QFile::encodeName(hostPath);
    struct stat st {};
    switch (mode) {
    case Mode::Read: {
        const int fd = openPlain(path, &st, reason);
        return fd < 0 ? nullptr : std::make_unique<PosixFile>(fd);
    }
    case Mode::Write: {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            failErrno(reason);
            return nullptr;
        }
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            fail(reason, notPlain);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd);
    }
    case Mode::Replace:
        return openReplacing(path, reason);
    }
    return nullptr;
}

void PosixFileAccess::watch(quint64 device, const QByteArray &folder)
{
    if (m_watched.contains(device))
        return;
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        m_watched.insert(device, fd);
}

bool PosixFileAccess::copy(const QString &from, const QString &to, Stamp *source, qint64 *copied, QString *reason)
{
    *copied = 0;
    struct stat in {};
    const int input = openPlain(QFile::encodeName(from), &in, reason);
    if (input < 0)
        return false;
    *source = stampOf(in);
    const QByteArray target = QFile::encodeName(to);
    // Not truncated on opening: the target must first be known not to be the source itself.
    const int output = ::open(target.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (output < 0) {
        failErrno(reason);
        ::close(input);
        return false;
    }
    auto done = [&](bool ok) {
        ::close(input);
        if (!ok) {
            ::close(output);
            return false;
        }
        return closeChecked(output, reason);
    };
    struct stat out {};
    if (::fstat(output, &out) != 0 || !S_ISREG(out.st_mode))
        return done(fail(reason, notPlain));
    if (out.st_dev == in.st_dev && out.st_ino == in.st_ino)
        return done(fail(reason, QStringLiteral("a file cannot be copied onto itself")));
    watch(out.st_dev, parentOf(target));
    if (out.st_size > 0 && ::ftruncate(output, 0) != 0)
        return done(failErrno(reason));

    bool inKernel = true;
    for (;;) {
        if (inKernel) {
            const ssize_t n = ::copy_file_range(input, nullptr, output, nullptr, size_t(1) << 30, 0);
            if (n > 0) {
                *copied += n;
                continue;
            }
            if (n == 0)
                break;
            if (errno == EINTR)
                continue;
            // File systems that cannot copy between themselves, or at all: the plain way.
            if (*copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                inKernel = false;
                continue;
            }
            return done(failErrno(reason));
        }
        char buffer[64 * 1024];
        const ssize_t n = ::read(input, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return done(failErrno(reason));
        if (n == 0)
            break;
        if (!writeAll(output, buffer, n, reason))
            return done(false);
        *copied += n;
    }
    return done(true);
}

bool PosixFileAccess::remove(const QString &hostPath, QString *reason)
{
    return ::unlink(QFile::encodeName(hostPath).constData()) == 0 || failErrno(reason);
}

bool PosixFileAccess::flush(const QStringList &hostFiles, QString *reason)
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
            ok = failErrno(reason);
        ::close(fd);
    }
    m_watched.clear();
    return ok;
}

FileAccess::Listing PosixFileAccess::list(const QString &hostFolder)
{
    Listing result;
    DIR *folder = ::opendir(QFile::encodeName(hostFolder).constData());
    if (!folder)
        return result;
    const int fd = ::dirfd(folder);
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        bool plain = entry->d_type == DT_REG;
        if (!plain && entry->d_type != DT_DIR) {
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, 0) != 0) {
                result.odd.append({QFile::decodeName(raw), QStringLiteral("it leads to nothing")});
                continue;
            }
            if (S_ISDIR(st.st_mode))
                continue;
            if (!S_ISREG(st.st_mode)) {
                result.odd.append({QFile::decodeName(raw), notPlain});
                continue;
            }
            plain = true;
        }
        if (!plain)
            continue;
        const QString name = QFile::decodeName(raw);
        // A name the program's text cannot carry back to the same bytes would address another file.
        if (QFile::encodeName(name) != raw)
            result.odd.append({QString::fromLatin1(raw), QStringLiteral("its name cannot be read on this system")});
        else if (name.contains(u'\\'))
            result.odd.append({name, QStringLiteral("its name holds a backslash")});
        else
            result.files << name;
    }
    ::closedir(folder);
    std::sort(result.files.begin(), result.files.end());
    std::sort(result.odd.begin(), result.odd.end(), [](const Odd &a, const Odd &b) { return a.shown < b.shown; });
    return result;
}

FileAccess::Stamp PosixFileAccess::stamp(const QString &hostPath)
{
    struct stat st {};
    if (::stat(QFile::encodeName(hostPath).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return stampOf(st);
}

bool PosixFileAccess::sameFile(const QString &a, const QString &b)
{
    struct stat first {}, second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 && ::stat(QFile::encodeName(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
