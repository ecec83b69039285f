#include "runtime/WindowsCalls.h"

#include <QDir>

#include <algorithm>

namespace WindowsCalls {

QString reasonFor(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return QStringLiteral("the disk is full");
    case ERROR_WRITE_PROTECT: return QStringLiteral("the disk is read-only");
    case ERROR_ACCESS_DENIED: return QStringLiteral("access is denied");
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return QStringLiteral("it was not found");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return QStringLiteral("it is in use");
    case ERROR_NOT_READY: return QStringLiteral("the drive is not ready");
    case ERROR_FILENAME_EXCED_RANGE: return QStringLiteral("its name is too long");
    default: return QStringLiteral("the system reported error %1").arg(error);
    }
}

bool failLast(QString *reason)
{
    if (reason)
        *reason = reasonFor(GetLastError());
    return false;
}

std::wstring native(const QString &hostPath)
{
    return QDir::toNativeSeparators(hostPath).toStdWString();
}

HANDLE openHandle(const QString &hostPath, DWORD access, DWORD disposition)
{
    return CreateFileW(native(hostPath).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

FileAccess::Stamp stampOf(const BY_HANDLE_FILE_INFORMATION &info)
{
    return {qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
            qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime)};
}

HANDLE openPlain(const QString &hostPath, BY_HANDLE_FILE_INFORMATION *info, QString *reason)
{
    HANDLE handle = openHandle(hostPath, GENERIC_READ, OPEN_EXISTING);
    if (handle == INVALID_HANDLE_VALUE) {
        failLast(reason);
        return handle;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, info)
        || (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(handle);
        if (reason)
            *reason = QStringLiteral("it is not a plain file");
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

bool writeAll(HANDLE handle, const char *data, qint64 size, QString *reason)
{
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qint64>(size, 1 << 20));
        if (!WriteFile(handle, data, chunk, &written, nullptr))
            return failLast(reason);
        data += written;
        size -= written;
    }
    return true;
}

} // namespace WindowsCalls
