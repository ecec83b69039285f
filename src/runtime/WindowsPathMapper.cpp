#include "runtime/WindowsPathMapper.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

std::unique_ptr<PathMapper> makeNativePathMapper(const QString &)
{
    return std::make_unique<WindowsPathMapper>();
}

void WindowsPathMapper::prepare()
{
}

QString WindowsPathMapper::resolve(QChar drive, const QStringList &names)
{
    const QString root = QString(drive.toUpper()) + QStringLiteral(":/");
    if (!QFileInfo::exists(root))
        return {};
    return root + names.join(u'/');
}

QStringList WindowsPathMapper::drives()
{
    QStringList result;
    const QFileInfoList roots = QDir::drives();
    for (const QFileInfo &root : roots)
        result << root.absolutePath().left(2).toLower();
    return result;
}

void WindowsPathMapper::noteCreated(const QString &)
{
}

void WindowsPathMapper::noteRemoved(const QString &)
{
}

QStringList WindowsPathMapper::files(const QString &hostFolder)
{
    // Hidden and system files are not claim files.
    return QDir(hostFolder).entryList(QDir::Files, QDir::Name);
}

bool WindowsPathMapper::sameFile(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

bool WindowsPathMapper::syncToDisk(const QStringList &hostFiles, QString *error)
{
    for (const QString &file : hostFiles) {
        const std::wstring name = QDir::toNativeSeparators(file).toStdWString();
        HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
            if (handle != INVALID_HANDLE_VALUE)
                CloseHandle(handle);
            if (error)
                *error = QStringLiteral("%1 could not be written to disk").arg(QDir::toNativeSeparators(file));
            return false;
        }
        CloseHandle(handle);
    }
    return true;
}
