#include "runtime/WindowsPathMapper.h"

#include "runtime/Wildcard.h"
#include "runtime/WindowsCalls.h"

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

// Windows has the drives and matches names without regard to case itself; what is resolved here
// is the name as Win32 reads it (no trailing dots or blanks) and, for what exists, as it stands on
// disk, so that the program shows and compares what is there.
QString WindowsPathMapper::resolve(QChar drive, const QStringList &names)
{
    QString path = QString(drive.toUpper()) + QStringLiteral(":/");
    if (!QFileInfo::exists(path))
        return {};
    bool exists = true;
    for (QString name : names) {
        QString trimmed = name;
        while (trimmed.endsWith(u'.') || trimmed.endsWith(u' '))
            trimmed.chop(1);
        if (!trimmed.isEmpty())
            name = trimmed;
        if (exists && !Wildcard::hasWildcards(name)) {
            WIN32_FIND_DATAW found {};
            HANDLE search = FindFirstFileExW(WindowsCalls::native(path + name).c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
            exists = search != INVALID_HANDLE_VALUE;
            if (exists) {
                name = QString::fromWCharArray(found.cFileName);
                FindClose(search);
            }
        }
        path += name + u'/';
    }
    if (!names.isEmpty())
        path.chop(1);
    return path;
}

// Each drive as the drive list shows it: "c:", and the volume's label when it has one.
QStringList WindowsPathMapper::drives()
{
    QStringList result;
    const QFileInfoList roots = QDir::drives();
    for (const QFileInfo &root : roots) {
        QString drive = root.absolutePath().left(2).toLower();
        wchar_t label[MAX_PATH + 1] = {};
        const std::wstring rootPath = QDir::toNativeSeparators(root.absolutePath()).toStdWString();
        if (GetVolumeInformationW(rootPath.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
            drive += QStringLiteral(" [%1]").arg(QString::fromWCharArray(label));
        result << drive;
    }
    return result;
}

void WindowsPathMapper::noteCreated(const QString &)
{
}

void WindowsPathMapper::noteRemoved(const QString &)
{
}
