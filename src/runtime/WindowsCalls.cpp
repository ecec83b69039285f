#include "runtime/WindowsCalls.h"

#include <QDir>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

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
    // The \\?\ form knows no limit of 260 characters; the path mapper has already dropped from each
    // name what Win32 would drop.
    QString path = QDir::toNativeSeparators(hostPath);
    if (path.size() >= 3 && path.at(1) == u':' && path.at(2) == u'\\')
        path.prepend(QStringLiteral("\\\\?\\"));
    return path.toStdWString();
}

QString unsendable(const QString &name)
{
    static const QStringList devices{u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s, u"CONIN$"_s, u"CONOUT$"_s};
    const QString device = name.section(u'.', 0, 0).trimmed().toUpper();
    const bool numbered = device.size() == 4 && (device.startsWith(u"COM") || device.startsWith(u"LPT"))
        && device.at(3) >= u'1' && device.at(3) <= u'9';
    if (devices.contains(device) || numbered)
        return QStringLiteral("its name is that of a device on Windows");
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return QStringLiteral("its name ends in a dot or a blank, which Windows programs cannot open");
    return {};
}

HANDLE openHandle(const QString &hostPath, DWORD access, DWORD disposition, DWORD share)
{
    return CreateFileW(native(hostPath).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD volumeOf(const QString &hostPath)
{
    const std::wstring path = native(hostPath);
    std::wstring root(path.size() + 2, L'\0');
    DWORD serial = 0;
    if (GetVolumePathNameW(path.c_str(), root.data(), DWORD(root.size())))
        GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
    return serial;
}

FileAccess::Stamp stampOf(HANDLE handle, DWORD volume)
{
    BY_HANDLE_FILE_INFORMATION info {};
    FILE_BASIC_INFO basic {};
    if (!GetFileInformationByHandle(handle, &info) || !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)
        || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return {qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
            qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime),
            volume, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow, basic.ChangeTime.QuadPart, false,
            quint32(info.nNumberOfLinks)};
}

HANDLE openPlain(const QString &hostPath, BY_HANDLE_FILE_INFORMATION *info, QString *reason, DWORD access, DWORD share)
{
    HANDLE handle = openHandle(hostPath, access, OPEN_EXISTING, share);
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
