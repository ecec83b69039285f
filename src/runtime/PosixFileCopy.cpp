#include "runtime/Failure.h"
#include "runtime/PosixCalls.h"
#include "runtime/PosixFileAccess.h"
#include "runtime/Sha256.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace PosixCalls;

namespace {

// Copies size bytes from input to a new or emptied output, in the kernel where the file systems
// allow it. The source is read from its start for each target without moving its offset.
bool copyBytes(int input, int output, qint64 size, qint64 *copied, Why *why)
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
            return failErrno(why);
        }
        char buffer[64 * 1024];
        const ssize_t n = ::pread(input, buffer, size_t(std::min<qint64>(sizeof buffer, size - *copied)), *copied);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(why);
        if (n == 0)
            return true;
        if (!writeAll(output, buffer, n, why))
            return false;
        *copied += n;
    }
    return true;
}

bool writeWhole(int output, const QByteArray &bytes, qint64 *copied, Why *why)
{
    if (!writeAll(output, bytes.constData(), bytes.size(), why))
        return false;
    *copied = bytes.size();
    return true;
}

// The SHA-256 of what a large file holds, read past the kernel's copies.
QByteArray hashOf(int input, qint64 size)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[64 * 1024];
    for (qint64 at = 0; at < size;) {
        const ssize_t n = ::pread(input, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        hash.addData(QByteArrayView(buffer, n));
        at += n;
    }
    return hash.result();
}

// Reads a small file whole, so that one read feeds every copy of it.
bool readWhole(int input, qint64 size, QByteArray *bytes, Why *why)
{
    bytes->resize(size);
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::pread(input, bytes->data() + got, size_t(size - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(why);
        if (n == 0)
            break;   // shorter than it was: the caller sees it in the stamps
        got += n;
    }
    bytes->truncate(got);
    return true;
}

} // namespace

bool PosixFileAccess::copyTo(int input, const struct stat &in, const QByteArray *whole, const QByteArray &target,
                             qint64 *copied, Why *why)
{
    const At at = this->at(target);
    // A copy is its user's alone, and never more readable than its claim.
    const mode_t allowed = in.st_mode & 0600;
    // Made new, as in a folder of its own or one emptied first, it is no other file: nothing to check.
    int output = ::openat(at.folder, at.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, allowed);
    const bool made = output >= 0;
    // Otherwise not truncated on opening: the target must first be known not to be the source itself.
    if (!made && errno == EEXIST)
        output = ::openat(at.folder, at.name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (output < 0)
        return failErrno(why);
    struct stat out {};
    bool ok = true;
    if (made)
        watchFolderOf(target);
    else if (::fstat(output, &out) != 0 || !S_ISREG(out.st_mode))
        ok = failWith(why, Cause::NotFile, notPlain());
    else if (out.st_dev == in.st_dev && out.st_ino == in.st_ino)
        ok = failWith(why, Cause::Other, QStringLiteral("a file cannot be copied onto itself"));
    else if ((out.st_mode & 0777 & ~allowed) != 0 && ::fchmod(output, out.st_mode & allowed) != 0)
        ok = failErrno(why);
    if (ok && !made)
        watch(out.st_dev, parentOf(target));
    if (ok) {
        ok = (out.st_size == 0 || ::ftruncate(output, 0) == 0 || failErrno(why))
            && (whole ? writeWhole(output, *whole, copied, why)
                      : copyBytes(input, output, qint64(in.st_size), copied, why));
    }
    if (!ok) {
        ::close(output);
        return false;
    }
    return closeChecked(output, why);
}

bool PosixFileAccess::copy(const QString &from, const QStringList &to, Copy *result, Why *why)
{
    struct stat in {};
    const int input = openPlain(at(QFile::encodeName(from)), &in, why);
    if (input < 0) {
        result->failed = 0;
        result->cause = errno == ENOENT ? Copy::Cause::SourceGone : Copy::Cause::Disk;
        return false;
    }
    // A read lease is refused while another program has the file open for writing: the practice
    // software may still be writing the claim. Held while it is copied, it keeps a writer that
    // comes meanwhile waiting until the copy is done; breaking it signals SIGIO, whose default would
    // end the program, so it is ignored (once: on a share every call on a claim is a round trip).
    // A file system, or a file of another user, that allows no lease is copied without one. The
    // lease ends with the file's closing.
    static const bool leaseBreaksIgnored = std::signal(SIGIO, SIG_IGN) != SIG_ERR;
    Q_UNUSED(leaseBreaksIgnored);
    if (::fcntl(input, F_SETLEASE, F_RDLCK) != 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        ::close(input);
        result->failed = 0;
        result->cause = Copy::Cause::SourceInUse;
        return failWith(why, Cause::InUse, QStringLiteral("another program has it open for writing"));
    }
    result->source = stampOf(in);
    // A claim file is small: read once, written to each target. Anything larger stays in the kernel.
    constexpr qint64 readAtOnce = 1 << 20;
    const bool small = in.st_size <= readAtOnce;
    bool ok = !small || readWhole(input, in.st_size, &m_buffer, why);
    if (!ok)
        result->failed = 0;
    for (qsizetype i = 0; ok && i < to.size(); ++i) {
        qint64 &copied = result->bytes.emplace_back(0);
        if (!copyTo(input, in, small ? &m_buffer : nullptr, QFile::encodeName(to.at(i)), &copied, why)) {
            result->failed = i;
            ok = false;
        }
    }
    if (ok)
        result->sha256 = small ? Sha256::of(m_buffer) : hashOf(input, in.st_size);
    struct stat after {};
    result->after = ::fstat(input, &after) == 0 ? stampOf(after) : Stamp{};
    ::close(input);
    return ok;
}
