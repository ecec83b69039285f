#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include "runtime/WindowsCalls.h"

#include <windows.h>

namespace {

// The program's own \\?\ form reaches names such as AUX.CLM, which the plain form takes for a device.
std::wstring raw(const QByteArray &path)
{
    return WindowsCalls::native(QString::fromUtf8(path));
}

void removeAll(const QString &folder, const QSet<QString> &keep = {})
{
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!keep.contains(entry.fileName().toLower()) && !QFile::remove(entry.filePath()))
            QDir(entry.filePath()).removeRecursively();
    }
}

} // namespace

const Rig::System Rig::system{false, "c: [PRACTICE]", "Windows has drive letters of its own: a first start lays out no drives"};

// On Windows the program's paths are real: drive C: is C:. Only a Wine prefix made by
// tools/windows/test.sh is emptied, which lists in C:\qrnweb-scratch what it held before any test
// ran; it also has D:, Q: (C:\qrn) and A: (a drive that cannot be read), and labels C: PRACTICE.
QString Rig::layDriveC()
{
    QFile scratch(QStringLiteral("C:/qrnweb-scratch"));
    if (!scratch.open(QIODevice::ReadOnly))
        qFatal("drive C: is no scratch drive of the tests (no C:\\qrnweb-scratch); it is left alone");
    QSet<QString> keep;
    for (const QByteArray &name : scratch.readAll().split('\n'))
        keep << QString::fromUtf8(name.trimmed()).toLower();
    removeAll(QStringLiteral("C:/"), keep);
    // The browser candidates, Wine's own Internet Explorer among them, are each test's to install.
    for (const char *browser : {"Program Files/Mozilla Firefox", "Program Files/Internet Explorer",
                                "Program Files (x86)/Mozilla Firefox", "Program Files (x86)/Internet Explorer"})
        QDir(QStringLiteral("C:/") + QLatin1String(browser)).removeRecursively();
    removeAll(QStringLiteral("D:/"));
    return QStringLiteral("C:/");
}

QString Rig::addDrive(const QString &drive, const QString &, bool)
{
    if (!QStringList{"d:", "q:", "a:"}.contains(drive))
        qFatal("the tests' Wine prefix has no drive %s", qPrintable(drive));
    return drive.toUpper() + u'/';
}

QString Rig::stored(const QString &name)
{
    QString kept = name;
    while (kept.endsWith(u'.') || kept.endsWith(u' '))
        kept.chop(1);
    return kept;
}

QString Rig::makeEntry(const QByteArray &path, const QByteArray &name)
{
    if (QString::fromUtf8(name).toUtf8() != name)
        return QStringLiteral("Windows names are UTF-16: every name can be spelled");
    if (name.contains('\\'))
        return QStringLiteral("on Windows a backslash separates folders: no name holds one");
    if (name.startsWith("PIPE") || name.startsWith("DEVICE") || name.startsWith("DANGLING"))
        return QStringLiteral("FIFOs and links to a device or to nothing in a folder are Linux's");
    HANDLE handle = CreateFileW(raw(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle != INVALID_HANDLE_VALUE && CloseHandle(handle) ? QString() : QStringLiteral("it could not be made");
}

bool Rig::entryExists(const QByteArray &path)
{
    return GetFileAttributesW(raw(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Rig::removeEntry(const QByteArray &path)
{
    DeleteFileW(raw(path).c_str());
}

QString Rig::failNextFlush()
{
    return QStringLiteral("FlushFileBuffers is reached through kernel32's import table, which a test program cannot take the place of");
}

std::shared_ptr<void> Rig::holdOpen(const QString &path, QString *cannot)
{
    HANDLE handle = CreateFileW(raw(path.toUtf8()).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        return std::shared_ptr<void>(handle, CloseHandle);
    *cannot = QStringLiteral("it could not be opened");
    return nullptr;
}

QString Rig::link(const QString &existing, const QString &name)
{
    const std::wstring from = raw(name.toUtf8()), to = raw(existing.toUtf8());
    if (!QFileInfo(existing).isDir())
        return CreateHardLinkW(from.c_str(), to.c_str(), nullptr) ? QString() : QStringLiteral("no hard link could be made");
    if (!CreateSymbolicLinkW(from.c_str(), to.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        return QStringLiteral("a folder link needs a privilege on Windows that this run does not have");
    // Only a link that leads to the folder is one.
    QFile probe(name + QStringLiteral("/probe"));
    const bool leads = probe.open(QIODevice::WriteOnly) && (probe.close(), QFileInfo::exists(existing + QStringLiteral("/probe")));
    probe.remove();
    return leads ? QString() : QStringLiteral("a folder link made here does not lead to its folder (so under Wine 8)");
}
