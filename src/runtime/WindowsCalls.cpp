#include "runtime/WindowsCalls.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <cwchar>

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

FileAccess::Why whyFor(DWORD error)
{
    using Cause = FileAccess::Cause;
    Cause cause = Cause::Other;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: cause = Cause::Missing; break;
    case ERROR_DIRECTORY: cause = Cause::NotFolder; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: cause = Cause::InUse; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: cause = Cause::Full; break;
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_SEM_TIMEOUT:
    case ERROR_IO_DEVICE:
    case ERROR_CRC: cause = Cause::Unreachable; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: cause = Cause::Denied; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: cause = Cause::Exists; break;
    default: break;
    }
    return {cause, reasonFor(error)};
}

bool failLast(Why *why)
{
    if (why)
        *why = whyFor(GetLastError());
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
            volume, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow, basic.ChangeTime.QuadPart,
            quint32(info.nNumberOfLinks), {}};
}

HANDLE openPlain(const QString &hostPath, BY_HANDLE_FILE_INFORMATION *info, Why *why, DWORD access, DWORD share)
{
    HANDLE handle = openHandle(hostPath, access, OPEN_EXISTING, share);
    if (handle == INVALID_HANDLE_VALUE) {
        failLast(why);
        return handle;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, info)
        || (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(handle);
        if (why)
            *why = {Cause::NotFile, QStringLiteral("it is not a plain file")};
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

bool writeAll(HANDLE handle, const char *data, qint64 size, Why *why)
{
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qint64>(size, 1 << 20));
        if (!WriteFile(handle, data, chunk, &written, nullptr))
            return failLast(why);
        data += written;
        size -= written;
    }
    return true;
}

DWORD forEachEntry(const QString &hostFolder, const std::function<void(const WIN32_FIND_DATAW &entry)> &each)
{
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileExW(native(hostFolder + QStringLiteral("/*")).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError();
    do {
        if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
            each(found);
    } while (FindNextFileW(search, &found));
    const DWORD stopped = GetLastError();
    FindClose(search);
    return stopped == ERROR_NO_MORE_FILES ? ERROR_SUCCESS : stopped;
}

QStringList drives()
{
    QStringList result;
    const DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(present & (DWORD(1) << i)))
            continue;
        QString drive = QString(QChar(u'a' + i)) + u':';
        const std::wstring root = QStringLiteral("%1:\\").arg(QChar(u'A' + i)).toStdWString();
        wchar_t label[MAX_PATH + 1] = {};
        if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
            drive += QStringLiteral(" [%1]").arg(QString::fromWCharArray(label));
        result << drive;
    }
    return result;
}

} // namespace WindowsCalls
