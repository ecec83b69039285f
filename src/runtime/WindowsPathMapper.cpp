#include "runtime/WindowsPathMapper.h"

#include <QDir>
#include <QFileInfo>

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
