#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const Rig::System Rig::system{true, "c:", ""};

static bool flushFails = false;

// Take the place of the C library's for the whole test program: the next flush of a file fails.
static int flush(const char *name, int fd)
{
    if (!std::exchange(flushFails, false))
        return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, name))(fd);
    errno = ENOSPC;
    return -1;
}

extern "C" int fsync(int fd)
{
    return flush("fsync", fd);
}

extern "C" int fdatasync(int fd)
{
    return flush("fdatasync", fd);
}

QString Rig::failNextFlush()
{
    flushFails = true;
    return {};
}

QString Rig::addDrive(const QString &drive, const QString &folder, bool made)
{
    if (made)
        QDir().mkpath(dir.filePath(folder));
    QFile::link(dir.filePath(folder), driveFolder + u'/' + drive);
    return dir.filePath(folder) + u'/';
}

QString Rig::layDriveC()
{
    QDir().mkpath(driveFolder);
    return addDrive(u"c:"_s, u"drive_c"_s);
}

QString Rig::stored(const QString &name)
{
    return name;
}

QString Rig::makeEntry(const QByteArray &path, const QByteArray &name)
{
    if (name.startsWith("AUX") || name.startsWith("CON"))
        return QStringLiteral("Linux reserves no names for devices");
    int made = 0;
    if (name.startsWith("PIPE"))
        made = ::mkfifo(path.constData(), 0644);
    else if (name.startsWith("DEVICE") || name.startsWith("DANGLING"))
        made = ::symlink(name.startsWith("DEVICE") ? "/dev/zero" : "/nowhere", path.constData());
    else
        made = ::close(::creat(path.constData(), 0644));
    return made == 0 ? QString() : QStringLiteral("it could not be made");
}

bool Rig::entryExists(const QByteArray &path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

void Rig::removeEntry(const QByteArray &path)
{
    ::unlink(path.constData());
}

std::shared_ptr<void> Rig::holdOpen(const QString &path, QString *cannot)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    if (fd < 0) {
        *cannot = QStringLiteral("it could not be opened");
        return nullptr;
    }
    return std::shared_ptr<void>(new int(fd), [](void *held) {
        ::close(*static_cast<int *>(held));
        delete static_cast<int *>(held);
    });
}

QString Rig::link(const QString &existing, const QString &name)
{
    // A file gets a hard link, a folder a symbolic one, as on Windows.
    const bool linked = QFileInfo(existing).isDir() ? QFile::link(existing, name)
                                                    : ::link(QFile::encodeName(existing).constData(), QFile::encodeName(name).constData()) == 0;
    return linked ? QString() : QStringLiteral("it could not be linked");
}
