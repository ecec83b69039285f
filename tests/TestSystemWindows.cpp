#include "TestSystem.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <windows.h>

namespace {

// Win32's own rules for the tests' paths: the \\?\ form reaches names such as AUX.CLM that the plain form
// takes for a device.
std::wstring raw(const QByteArray &path)
{
    return (QStringLiteral("\\\\?\\") + QDir::toNativeSeparators(QString::fromUtf8(path))).toStdWString();
}

void removeAll(const QString &folder, const QSet<QString> &keep)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (keep.contains(entry.fileName().toLower()))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

} // namespace

namespace TestSystem {

// On Windows the program's paths are real: drive C: is C:. Only a prefix made by tools/windows/test.sh
// is emptied, which lists in C:\qrnweb-scratch what it held before any test ran; it also has D:, Q:
// (C:\qrn) and E: (a drive that cannot be read).
QString layDriveC(const QString &, const QString &)
{
    QFile scratch(QStringLiteral("C:/qrnweb-scratch"));
    if (!scratch.open(QIODevice::ReadOnly))
        qFatal("drive C: is no scratch drive of the tests (no C:\\qrnweb-scratch); it is left alone");
    QSet<QString> keep;
    for (const QByteArray &name : scratch.readAll().split('\n'))
        keep << QString::fromUtf8(name.trimmed()).toLower();
    removeAll(QStringLiteral("C:/"), keep);
    // The browser candidates, Wine's own Internet Explorer among them, are each test's to install.
    for (const char *programs : {"C:/Program Files/", "C:/Program Files (x86)/"}) {
        for (const char *browser : {"Mozilla Firefox", "Internet Explorer"})
            QDir(QLatin1String(programs) + QLatin1String(browser)).removeRecursively();
    }
    removeAll(QStringLiteral("D:/"), {});
    return QStringLiteral("C:/");
}

QString noDriveFolder()
{
    return QStringLiteral("Windows has drive letters of its own: a first start lays out no drives");
}

QString driveCShown()
{
    return QStringLiteral("c: [PRACTICE]");
}

QString addDrive(const QString &, const QString &, const QString &drive, const QString &)
{
    if (!QStringList{"d:", "q:", "e:"}.contains(drive))
        qFatal("the tests' Wine prefix has no drive %s", qPrintable(drive));
    return drive.toUpper() + u'/';
}

QString makeEntry(const QByteArray &path, const QByteArray &name)
{
    if (QString::fromUtf8(name).toUtf8() != name)
        return QStringLiteral("Windows names are UTF-16: every name can be spelled");
    if (name.contains('\\'))
        return QStringLiteral("on Windows a backslash separates folders: no name holds one");
    if (name.startsWith("PIPE"))
        return QStringLiteral("Windows has no named pipe in a folder");
    if (name.startsWith("DEVICE") || name.startsWith("DANGLING"))
        return QStringLiteral("links to a device or to nothing are Linux's");
    HANDLE handle = CreateFileW(raw(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return QStringLiteral("CreateFile failed with %1").arg(GetLastError());
    CloseHandle(handle);
    return {};
}

bool entryExists(const QByteArray &path)
{
    return GetFileAttributesW(raw(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void removeEntry(const QByteArray &path)
{
    DeleteFileW(raw(path).c_str());
}

std::shared_ptr<void> holdOpen(const QString &path, QString *cannot)
{
    HANDLE handle = CreateFileW(raw(path.toUtf8()).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *cannot = QStringLiteral("CreateFile failed with %1").arg(GetLastError());
        return nullptr;
    }
    return std::shared_ptr<void>(handle, CloseHandle);
}

QString stored(const QString &name)
{
    QString kept = name;
    while (kept.endsWith(u'.') || kept.endsWith(u' '))
        kept.chop(1);
    return kept;
}

bool namesAreCaseSensitive()
{
    return false;
}

QString mountSmallDisk(const QString &, const QString &)
{
    return QStringLiteral("a small tmpfs mounted over a folder is Linux's");
}

void unmountSmallDisk(const QString &)
{
}

} // namespace TestSystem
