#include "runtime/WindowsCalls.h"
#include "runtime/WindowsFile.h"
#include "runtime/WindowsFileAccess.h"

#include <QDir>

#include <algorithm>

#include <windows.h>

using namespace WindowsCalls;

std::unique_ptr<FileAccess> makeNativeFileAccess()
{
    return std::make_unique<WindowsFileAccess>();
}

std::unique_ptr<HostFile> WindowsFileAccess::open(const QString &hostPath, Mode mode, QString *reason)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (mode == Mode::Read) {
        HANDLE handle = openPlain(hostPath, &info, reason);
        return handle == INVALID_HANDLE_VALUE ? nullptr : std::make_unique<WindowsFile>(handle);
    }
    if (mode == Mode::Write) {
        HANDLE handle = openHandle(hostPath, GENERIC_WRITE, CREATE_ALWAYS);
        if (handle == INVALID_HANDLE_VALUE) {
            failLast(reason);
            return nullptr;
        }
        return std::make_unique<WindowsFile>(handle);
    }
    const DWORD attributes = GetFileAttributesW(native(hostPath).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (reason)
            *reason = QStringLiteral("it is read-only");
        return nullptr;
    }
    const QString temporary = hostPath + QStringLiteral(".new");
    HANDLE handle = openHandle(temporary, GENERIC_WRITE, CREATE_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE) {
        failLast(reason);
        return nullptr;
    }
    return std::make_unique<WindowsFile>(handle, temporary, hostPath);
}

bool WindowsFileAccess::copyTo(HANDLE input, const BY_HANDLE_FILE_INFORMATION &in, const QString &to, qint64 *copied,
                               QString *reason)
{
    // Not truncated on opening: the target must first be known not to be the source itself.
    HANDLE output = openHandle(to, GENERIC_WRITE, OPEN_ALWAYS);
    if (output == INVALID_HANDLE_VALUE)
        return failLast(reason);
    auto done = [&](bool ok) {
        if (!ok) {
            CloseHandle(output);
            return false;
        }
        return CloseHandle(output) || failLast(reason);
    };
    BY_HANDLE_FILE_INFORMATION out {};
    if (!GetFileInformationByHandle(output, &out))
        return done(failLast(reason));
    if (in.dwVolumeSerialNumber == out.dwVolumeSerialNumber && in.nFileIndexHigh == out.nFileIndexHigh
        && in.nFileIndexLow == out.nFileIndexLow) {
        if (reason)
            *reason = QStringLiteral("a file cannot be copied onto itself");
        return done(false);
    }
    LARGE_INTEGER start {};
    if (!SetEndOfFile(output) || !SetFilePointerEx(input, start, nullptr, FILE_BEGIN))
        return done(failLast(reason));
    m_written << to;
    static char buffer[256 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &got, nullptr))
            return done(failLast(reason));
        if (got == 0)
            break;
        if (!writeAll(output, buffer, got, reason))
            return done(false);
        *copied += got;
    }
    return done(true);
}

bool WindowsFileAccess::copy(const QString &from, const QStringList &to, Copy *result, QString *reason)
{
    BY_HANDLE_FILE_INFORMATION in {}, after {};
    HANDLE input = openPlain(from, &in, reason);
    if (input == INVALID_HANDLE_VALUE) {
        result->failed = 0;
        return false;
    }
    result->source = stampOf(in);
    bool ok = true;
    for (qsizetype i = 0; ok && i < to.size(); ++i) {
        qint64 &copied = result->bytes.emplace_back(0);
        if (!copyTo(input, in, to.at(i), &copied, reason)) {
            result->failed = i;
            ok = false;
        }
    }
    result->after = GetFileInformationByHandle(input, &after) ? stampOf(after) : Stamp{};
    CloseHandle(input);
    return ok;
}

bool WindowsFileAccess::remove(const QString &hostPath, QString *reason)
{
    return DeleteFileW(native(hostPath).c_str()) || failLast(reason);
}

bool WindowsFileAccess::flush(const QStringList &, QString *reason)
{
    // Windows flushes one file at a time; the copies made since the last flush are the ones to keep.
    const QStringList files = std::exchange(m_written, {});
    for (const QString &file : files) {
        HANDLE handle = openHandle(file, GENERIC_WRITE, OPEN_EXISTING);
        if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
            failLast(reason);
            if (handle != INVALID_HANDLE_VALUE)
                CloseHandle(handle);
            return false;
        }
        CloseHandle(handle);
    }
    return true;
}

FileAccess::Listing WindowsFileAccess::list(const QString &hostFolder)
{
    Listing result;
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileExW(native(hostFolder + QStringLiteral("/*")).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return result;
    do {
        // Folders are not files; hidden and system files are not claim files.
        const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (!(found.dwFileAttributes & skipped))
            result.files << QString::fromWCharArray(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(result.files.begin(), result.files.end());
    return result;
}

FileAccess::Stamp WindowsFileAccess::stamp(const QString &hostPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!GetFileAttributesExW(native(hostPath).c_str(), GetFileExInfoStandard, &data)
        || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return {qint64((quint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow),
            qint64((quint64(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime)};
}

bool WindowsFileAccess::sameFile(const QString &a, const QString &b)
{
    auto identify = [](const QString &path, BY_HANDLE_FILE_INFORMATION *info) {
        HANDLE handle = CreateFileW(native(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        const bool ok = GetFileInformationByHandle(handle, info);
        CloseHandle(handle);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION first {}, second {};
    return identify(a, &first) && identify(b, &second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
        && first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
