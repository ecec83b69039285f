#include "TestSystem.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TestSystem {

QString noDriveFolder()
{
    return {};
}

QString driveCShown()
{
    return QStringLiteral("c:");
}

QString addDrive(const QString &scratch, const QString &driveFolder, const QString &drive, const QString &folder)
{
    const QString target = QDir(scratch).filePath(folder);
    QFile::link(target, driveFolder + u'/' + drive);
    return target + u'/';
}

QString layDriveC(const QString &scratch, const QString &driveFolder)
{
    QDir().mkpath(driveFolder);
    QDir().mkpath(QDir(scratch).filePath(QStringLiteral("drive_c")));
    return addDrive(scratch, driveFolder, QStringLiteral("c:"), QStringLiteral("drive_c"));
}

QString makeEntry(const QByteArray &path, const QByteArray &name)
{
    if (name.startsWith("AUX") || name.startsWith("CON"))
        return QStringLiteral("Linux reserves no names for devices");
    if (name.startsWith("PIPE"))
        return ::mkfifo(path.constData(), 0644) == 0 ? QString() : QStringLiteral("mkfifo failed");
    if (name.startsWith("DEVICE") || name.startsWith("DANGLING"))
        return ::symlink(name.startsWith("DEVICE") ? "/dev/zero" : "/nowhere", path.constData()) == 0 ? QString()
                                                                                                        : QStringLiteral("symlink failed");
    const int fd = ::creat(path.constData(), 0644);
    ::close(fd);
    return fd >= 0 ? QString() : QStringLiteral("creat failed");
}

bool entryExists(const QByteArray &path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

void removeEntry(const QByteArray &path)
{
    ::unlink(path.constData());
}

std::shared_ptr<void> holdOpen(const QString &, QString *cannot)
{
    *cannot = QStringLiteral("Linux has no share modes: a file open elsewhere can always be removed");
    return nullptr;
}

QString stored(const QString &name)
{
    return name;
}

bool namesAreCaseSensitive()
{
    return true;
}

QString mountSmallDisk(const QString &folder, const QString &options)
{
    QDir().mkpath(folder);
    if (::geteuid() != 0)
        return QStringLiteral("mounting a small file system needs root");
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", options, "tmpfs", folder}) != 0)
        return QStringLiteral("tmpfs could not be mounted here");
    return {};
}

void unmountSmallDisk(const QString &folder)
{
    QProcess::execute(QStringLiteral("umount"), {"-l", folder});
}

} // namespace TestSystem
