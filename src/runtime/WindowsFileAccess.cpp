#include "runtime/WindowsCalls.h"
#include "runtime/WindowsFile.h"
#include "runtime/WindowsFileAccess.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>

#include <algorithm>

#include <windows.h>

using namespace WindowsCalls;

std::unique_ptr<FileAccess> makeNativeFileAccess()
{
    return std::make_unique<WindowsFileAccess>();
}

std::unique_ptr<HostFile> WindowsFileAccess::open(const QString &hostPath, Mode mode, Why *why)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (mode == Mode::Read) {
        HANDLE handle = openPlain(hostPath, &info, why);
        return handle == INVALID_HANDLE_VALUE ? nullptr : std::make_unique<WindowsFile>(handle);
    }
    if (mode == Mode::Write || mode == Mode::Append) {
        const bool append = mode == Mode::Append;
        HANDLE handle = openHandle(hostPath, append ? FILE_APPEND_DATA : GENERIC_WRITE, append ? OPEN_ALWAYS : CREATE_ALWAYS);
        if (handle == INVALID_HANDLE_VALUE) {
            failLast(why);
            return nullptr;
        }
        return std::make_unique<WindowsFile>(handle, QString(), QString(), append);
    }
    const DWORD attributes = GetFileAttributesW(native(hostPath).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (why)
            *why = {Cause::Denied, QStringLiteral("it is read-only")};
        return nullptr;
    }
    // A name of its own beside the target, never one that exists: two saves at once, or one left
    // behind by a save that was cut off, must not meet.
    const qsizetype slash = hostPath.lastIndexOf(u'/');
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString temporary = hostPath.left(slash + 1) + u'.' + hostPath.mid(slash + 1) + QStringLiteral(".new-")
            + QString::number(QRandomGenerator::global()->generate(), 36);
        HANDLE handle = openHandle(temporary, GENERIC_WRITE, CREATE_NEW);
        if (handle != INVALID_HANDLE_VALUE)
            return std::make_unique<WindowsFile>(handle, temporary, hostPath);
        if (GetLastError() != ERROR_FILE_EXISTS) {
            failLast(why);
            return nullptr;
        }
    }
    failLast(why);
    return nullptr;
}

bool WindowsFileAccess::copyTo(HANDLE input, const BY_HANDLE_FILE_INFORMATION &in, const QString &to, qint64 *copied,
                               QCryptographicHash *hash, Why *why)
{
    // Not truncated on opening: the target must first be known not to be the source itself.
    HANDLE output = openHandle(to, GENERIC_WRITE, OPEN_ALWAYS);
    if (output == INVALID_HANDLE_VALUE)
        return failLast(why);
    auto done = [&](bool ok) {
        if (!ok) {
            CloseHandle(output);
            return false;
        }
        return CloseHandle(output) || failLast(why);
    };
    BY_HANDLE_FILE_INFORMATION out {};
    if (!GetFileInformationByHandle(output, &out))
        return done(failLast(why));
    if (in.dwVolumeSerialNumber == out.dwVolumeSerialNumber && in.nFileIndexHigh == out.nFileIndexHigh
        && in.nFileIndexLow == out.nFileIndexLow) {
        if (why)
            *why = {Cause::Other, QStringLiteral("a file cannot be copied onto itself")};
        return done(false);
    }
    LARGE_INTEGER start {};
    if (!SetEndOfFile(output) || !SetFilePointerEx(input, start, nullptr, FILE_BEGIN))
        return done(failLast(why));
    m_written << to;
    static char buffer[256 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &got, nullptr))
            return done(failLast(why));
        if (got == 0)
            break;
        if (!writeAll(output, buffer, got, why))
            return done(false);
        if (hash)
            hash->addData(QByteArrayView(buffer, got));
        *copied += got;
    }
    return done(true);
}

bool WindowsFileAccess::copy(const QString &from, const QStringList &to, Copy *result, Why *why)
{
    BY_HANDLE_FILE_INFORMATION in {};
    // A claim that another program still writes, or holds so that it cannot be removed afterwards,
    // is in use: it is not copied, so that it is never sent half or twice. While it is copied,
    // nobody else may change or remove it.
    HANDLE input = openPlain(from, &in, why, GENERIC_READ | DELETE, FILE_SHARE_READ);
    if (input == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        result->failed = 0;
        result->cause = error == ERROR_FILE_NOT_FOUND ? Copy::Cause::SourceGone
            : error == ERROR_SHARING_VIOLATION        ? Copy::Cause::SourceInUse
                                                      : Copy::Cause::Disk;
        return false;
    }
    const DWORD volume = volumeOf(from);
    result->source = stampOf(input, volume);
    bool ok = true;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (qsizetype i = 0; ok && i < to.size(); ++i) {
        qint64 &copied = result->bytes.emplace_back(0);
        if (!copyTo(input, in, to.at(i), &copied, i == 0 ? &hash : nullptr, why)) {
            result->failed = i;
            ok = false;
        }
    }
    if (ok)
        result->sha256 = hash.result();
    result->after = stampOf(input, volume);
    CloseHandle(input);
    return ok;
}

bool WindowsFileAccess::remove(const QString &hostPath, Why *why)
{
    return DeleteFileW(native(hostPath).c_str()) || failLast(why);
}

bool WindowsFileAccess::link(const QString &existing, const QString &name, Why *why)
{
    return CreateHardLinkW(native(name).c_str(), native(existing).c_str(), nullptr) || failLast(why);
}

bool WindowsFileAccess::rename(const QString &from, const QString &to, Why *why)
{
    return MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_WRITE_THROUGH) || failLast(why);
}

// The new folder takes the permissions of the folder it is made in, as Windows users expect.
bool WindowsFileAccess::makeFolder(const QString &hostPath, Why *why)
{
    return CreateDirectoryW(native(hostPath).c_str(), nullptr) || failLast(why);
}

bool WindowsFileAccess::flush(const QStringList &hostFiles, Why *why)
{
    // Windows puts one file at a time on disk: each copy made into these folders since it was last
    // asked, then the folders' own entries. Copies made elsewhere wait for their own flush.
    auto inside = [&](const QString &file) {
        return std::any_of(hostFiles.cbegin(), hostFiles.cend(), [&](const QString &folder) {
            return file.compare(folder, Qt::CaseInsensitive) == 0 || file.startsWith(folder + u'/', Qt::CaseInsensitive);
        });
    };
    QStringList files;
    for (qsizetype i = m_written.size() - 1; i >= 0; --i) {
        if (inside(m_written.at(i)))
            files.prepend(m_written.takeAt(i));
    }
    // ERROR_SUCCESS, or why the system did not put it on disk.
    auto flush = [](const QString &path, DWORD flags) -> DWORD {
        HANDLE handle = CreateFileW(native(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, flags, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return GetLastError();
        const DWORD error = FlushFileBuffers(handle) ? ERROR_SUCCESS : GetLastError();
        CloseHandle(handle);
        return error;
    };
    // A copy removed since has nothing left to put on disk.
    for (const QString &file : std::as_const(files)) {
        if (const DWORD error = flush(file, FILE_ATTRIBUTE_NORMAL); error && error != ERROR_FILE_NOT_FOUND) {
            if (why)
                *why = whyFor(error);
            return false;
        }
    }
    // A file system that cannot flush a folder's entries on their own (it journals them, or it is
    // a share) says so; that is no failure of the copies.
    for (const QString &folder : hostFiles) {
        const DWORD attributes = GetFileAttributesW(native(folder).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const DWORD error = flush(folder, FILE_FLAG_BACKUP_SEMANTICS);
        if (error != ERROR_SUCCESS && error != ERROR_INVALID_FUNCTION && error != ERROR_ACCESS_DENIED
            && error != ERROR_NOT_SUPPORTED) {
            if (why)
                *why = whyFor(error);
            return false;
        }
    }
    return true;
}

FileAccess::Listing WindowsFileAccess::list(const QString &hostFolder)
{
    Listing result;
    const DWORD stopped = forEachEntry(hostFolder, [&](const WIN32_FIND_DATAW &found) {
        // Hidden and system entries are not the person's: no claim files, no folders to choose.
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            return;
        const QString name = QString::fromWCharArray(found.cFileName);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            result.folders << name;
        else if (const QString why = unsendable(name); !why.isEmpty())
            result.odd.append({name, why});
        else
            result.files << name;
    });
    // A share that is down is no empty folder: its claims would wait there unsent, unmentioned.
    if (stopped != ERROR_SUCCESS && stopped != ERROR_FILE_NOT_FOUND && stopped != ERROR_PATH_NOT_FOUND)
        result.failure = whyFor(stopped);
    std::sort(result.files.begin(), result.files.end());
    std::sort(result.folders.begin(), result.folders.end());
    std::sort(result.odd.begin(), result.odd.end(), [](const Odd &a, const Odd &b) { return a.shown < b.shown; });
    return result;
}

bool WindowsFileAccess::removeOdd(const QString &hostFolder, Why *why)
{
    const Listing listing = list(hostFolder);
    if (listing.failure.failed()) {
        if (why)
            *why = listing.failure;
        return false;
    }
    bool removed = true;
    for (const Odd &entry : listing.odd) {
        if (!DeleteFileW(native(hostFolder + u'/' + entry.shown).c_str()) && removed)
            removed = failLast(why);
    }
    return removed;
}

// A pinned folder stays on its volume: asked once.
std::shared_ptr<void> WindowsFileAccess::pin(const QString &hostFolder)
{
    const QString folder = hostFolder.endsWith(u'/') ? hostFolder : hostFolder + u'/';
    return m_volumes.hold(folder, [&folder] { return std::make_shared<DWORD>(WindowsCalls::volumeOf(folder)); });
}

DWORD WindowsFileAccess::volumeOf(const QString &hostPath)
{
    const QString folder = hostPath.left(hostPath.lastIndexOf(u'/') + 1);
    if (const std::shared_ptr<DWORD> held = m_volumes.find(folder))
        return *held;
    return WindowsCalls::volumeOf(folder);
}

FileAccess::Stamp WindowsFileAccess::stamp(const QString &hostPath)
{
    HANDLE handle = CreateFileW(native(hostPath).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Stamp none;
        none.why = whyFor(GetLastError());
        return none;
    }
    const Stamp stamp = stampOf(handle, volumeOf(hostPath));
    CloseHandle(handle);
    return stamp;
}

FileAccess::Entry WindowsFileAccess::entry(const QString &hostPath)
{
    Entry result;
    result.name = hostPath.mid(hostPath.lastIndexOf(u'/') + 1);
    // A search would take wildcards as a pattern; no name on disk holds them.
    if (result.name.contains(u'*') || result.name.contains(u'?')) {
        result.why = whyFor(ERROR_INVALID_NAME);
        return result;
    }
    // One search tells what a name is and how it stands on disk; a drive's root, which has no name, is asked as such.
    DWORD attributes = 0;
    FILETIME written {};
    if (result.name.isEmpty()) {
        WIN32_FILE_ATTRIBUTE_DATA data {};
        if (!GetFileAttributesExW(native(hostPath).c_str(), GetFileExInfoStandard, &data)) {
            result.why = whyFor(GetLastError());
            return result;
        }
        attributes = data.dwFileAttributes;
        written = data.ftLastWriteTime;
    } else {
        WIN32_FIND_DATAW found {};
        HANDLE search = FindFirstFileExW(native(hostPath).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            result.why = whyFor(GetLastError());
            return result;
        }
        FindClose(search);
        result.name = QString::fromWCharArray(found.cFileName);
        attributes = found.dwFileAttributes;
        written = found.ftLastWriteTime;
    }
    result.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : (attributes & FILE_ATTRIBUTE_DEVICE) ? Kind::Other : Kind::File;
    result.modified = qint64((quint64(written.dwHighDateTime) << 32) | written.dwLowDateTime);
    return result;
}

FileAccess::Names WindowsFileAccess::names(const QString &hostFolder)
{
    Names result;
    if (const DWORD stopped = forEachEntry(hostFolder, [&](const WIN32_FIND_DATAW &found) {
            result.names << QString::fromWCharArray(found.cFileName);
        }))
        result.why = whyFor(stopped);
    return result;
}

bool WindowsFileAccess::makeLink(const QString &target, const QString &name, Why *why)
{
    return CreateSymbolicLinkW(native(name).c_str(), native(target).c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)
        || failLast(why);
}

bool WindowsFileAccess::sameFile(const QString &a, const QString &b, Why *why)
{
    auto identify = [why](const QString &path, BY_HANDLE_FILE_INFORMATION *info) {
        HANDLE handle = CreateFileW(native(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && why)
                *why = whyFor(error);
            return false;
        }
        const bool ok = GetFileInformationByHandle(handle, info);
        CloseHandle(handle);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION first {}, second {};
    return identify(a, &first) && identify(b, &second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
        && first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

std::shared_ptr<void> WindowsFileAccess::lock(const QString &hostFolder, bool *busy, Why *why)
{
    *busy = false;
    // Without delete sharing: nobody removes it while it is held.
    const QString file = hostFolder + (hostFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) + QStringLiteral("qrnweb.lck");
    HANDLE handle = CreateFileW(native(file).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        failLast(why);
        return nullptr;
    }
    OVERLAPPED whole {};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        *busy = GetLastError() == ERROR_LOCK_VIOLATION;
        failLast(why);
        CloseHandle(handle);
        return nullptr;
    }
    return std::shared_ptr<void>(handle, CloseHandle);
}
