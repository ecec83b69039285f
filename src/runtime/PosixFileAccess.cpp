#include "runtime/Failure.h"
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

bool failErrno(QString *reason)
{
    return failWith(reason, reasonFor(errno));
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
int openPlain(const PosixFileAccess::At &at, struct stat *st, QString *reason)
{
    const int fd = ::openat(at.folder, at.name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failErrno(reason);
        return -1;
    }
    if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        ::close(fd);
        failWith(reason, notPlain);
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
            failWith(reason, errno == EACCES ? QStringLiteral("it is read-only") : reasonFor(errno));
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
    setSteady(false);
}

void PosixFileAccess::setSteady(bool steady)
{
    m_steady = steady;
    for (const int fd : std::as_const(m_held))
        ::close(fd);
    m_held.clear();
}

// While steady, a file is reached from its folder, held open, rather than by walking its whole
// path again each time.
PosixFileAccess::At PosixFileAccess::at(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (!m_steady || slash <= 0)
        return {AT_FDCWD, path};
    const QByteArray folder = path.left(slash);
    auto held = m_held.constFind(folder);
    if (held == m_held.cend()) {
        const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return {AT_FDCWD, path};
        held = m_held.insert(folder, fd);
    }
    return {*held, path.mid(slash + 1)};
}

std::unique_ptr<HostFile> PosixFileAccess::open(const QString &hostPath, Mode mode, QString *reason)
{
    const QByteArray path = QFile::encodeName(hostPath);
    struct stat st {};
    switch (mode) {
    case Mode::Read: {
        const int fd = openPlain({AT_FDCWD, path}, &st, reason);
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
            failWith(reason, notPlain);
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

namespace {

// Copies size bytes from input to a new or emptied output, in the kernel where the file systems
// allow it. The source is read from its start for each target without moving its offset.
bool copyBytes(int input, int output, qint64 size, qint64 *copied, QString *reason)
{
    bool inKernel = true;
    while (*copied < size) {
        if (inKernel) {
            loff_t from = *copied;
            const ssize_t n = ::copy_file_range(input, &from, output, nullptr, size_t(size - *copied), 0);
            if (n > 0) {
                *copied += n;
                continue;
            }
            if (n == 0)
                return true;   // shorter than it was: the caller sees it in the stamps
            if (errno == EINTR)
                continue;
            // File systems that cannot copy between themselves, or at all: the plain way.
            if (*copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                inKernel = false;
                continue;
            }
            return failErrno(reason);
        }
        char buffer[64 * 1024];
        const ssize_t n = ::pread(input, buffer, size_t(std::min<qint64>(sizeof buffer, size - *copied)), *copied);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(reason);
        if (n == 0)
            return true;
        if (!writeAll(output, buffer, n, reason))
            return false;
        *copied += n;
    }
    return true;
}

bool writeWhole(int output, const QByteArray &bytes, qint64 *copied, QString *reason)
{
    if (!writeAll(output, bytes.constData(), bytes.size(), reason))
        return false;
    *copied = bytes.size();
    return true;
}

// Reads a small file whole, so that one read feeds every copy of it.
bool readWhole(int input, qint64 size, QByteArray *bytes, QString *reason)
{
    bytes->resize(size);
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::pread(input, bytes->data() + got, size_t(size - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(reason);
        if (n == 0)
            break;   // shorter than it was: the caller sees it in the stamps
        got += n;
    }
    bytes->truncate(got);
    return true;
}

} // namespace

bool PosixFileAccess::copyTo(int input, const struct stat &in, const QByteArray *whole, const QByteArray &target,
                             qint64 *copied, QString *reason)
{
    // Not truncated on opening: the target must first be known not to be the source itself.
    const At at = this->at(target);
    const int output = ::openat(at.folder, at.name.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (output < 0)
        return failErrno(reason);
    struct stat out {};
    bool ok = true;
    if (::fstat(output, &out) != 0 || !S_ISREG(out.st_mode))
        ok = failWith(reason, notPlain);
    else if (out.st_dev == in.st_dev && out.st_ino == in.st_ino)
        ok = failWith(reason, QStringLiteral("a file cannot be copied onto itself"));
    if (ok) {
        watch(out.st_dev, parentOf(target));
        ok = (out.st_size == 0 || ::ftruncate(output, 0) == 0 || failErrno(reason))
            && (whole ? writeWhole(output, *whole, copied, reason)
                      : copyBytes(input, output, qint64(in.st_size), copied, reason));
    }
    if (!ok) {
        ::close(output);
        return false;
    }
    return closeChecked(output, reason);
}

bool PosixFileAccess::copy(const QString &from, const QStringList &to, Copy *result, QString *reason)
{
    struct stat in {};
    const int input = openPlain(at(QFile::encodeName(from)), &in, reason);
    if (input < 0) {
        result->failed = 0;
        return false;
    }
    result->source = stampOf(in);
    // A claim file is small: read once, written to each target. Anything larger stays in the kernel.
    constexpr qint64 readAtOnce = 1 << 20;
    const bool small = in.st_size <= readAtOnce;
    bool ok = !small || readWhole(input, in.st_size, &m_buffer, reason);
    if (!ok)
        result->failed = 0;
    for (qsizetype i = 0; ok && i < to.size(); ++i) {
        qint64 &copied = result->bytes.emplace_back(0);
        if (!copyTo(input, in, small ? &m_buffer : nullptr, QFile::encodeName(to.at(i)), &copied, reason)) {
            result->failed = i;
            ok = false;
        }
    }
    struct stat after {};
    result->after = ::fstat(input, &after) == 0 ? stampOf(after) : Stamp{};
    ::close(input);
    return ok;
}

bool PosixFileAccess::remove(const QString &hostPath, QString *reason)
{
    const At at = this->at(QFile::encodeName(hostPath));
    return ::unlinkat(at.folder, at.name.constData(), 0) == 0 || failErrno(reason);
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
    const At at = this->at(QFile::encodeName(hostPath));
    if (::fstatat(at.folder, at.name.constData(), &st, 0) != 0 || !S_ISREG(st.st_mode))
        return {};
    return stampOf(st);
}

bool PosixFileAccess::sameFile(const QString &a, const QString &b)
{
    struct stat first {}, second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 && ::stat(QFile::encodeName(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
