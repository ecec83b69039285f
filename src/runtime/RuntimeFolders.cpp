// The runtime's view of drives and folders for the drive and folder selectors, and the second
// names and moves of the backups that are kept.
#include "runtime/Failure.h"
#include "runtime/PathMapper.h"
#include "runtime/Runtime.h"


QStringList Runtime::drives()
{
    return m_paths->drives();
}

// A folder whose names can be read.
bool Runtime::isReadableFolder(const DosPath &path)
{
    const HostPath host = hostPath(path);
    return !host.isEmpty() && kindOf(host) == FileAccess::Kind::Folder && !m_access->names(host.native()).why.failed();
}

QStringList Runtime::subfolders(const DosPath &path)
{
    const HostPath host = hostPath(path);
    if (host.isEmpty())
        return {};
    QStringList names = m_access->list(host.native()).folders;
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString Runtime::displayPath(const DosPath &path)
{
    const HostPath host = hostPath(path);
    QStringList names = path.names();
    if (!host.isEmpty() && !names.isEmpty()) {
        // The resolved host path ends in one entry per name, each as it stands on disk.
        const QStringList onDisk = host.native().split(u'/');
        names = onDisk.mid(onDisk.size() - names.size());
    }
    return QString(path.drive().toUpper()) + QStringLiteral(":\\") + names.join(u'\\');
}

// A second name for a file, and its move: for the backups that are kept.
bool Runtime::linkFile(const DosPath &existing, const DosPath &name, QString *error)
{
    const HostPath from = hostPath(existing), to = hostPath(name);
    if (from.isEmpty() || to.isEmpty())
        return failWith(error, notFound());
    if (Why why; !told(m_access->link(from.native(), to.native(), &why), why, error))
        return false;
    m_paths->noteCreated(to);
    return true;
}

bool Runtime::renameFile(const DosPath &from, const DosPath &to, QString *error)
{
    const HostPath source = hostPath(from), target = hostPath(to);
    if (source.isEmpty() || target.isEmpty())
        return failWith(error, notFound());
    if (Why why; !told(m_access->rename(source.native(), target.native(), &why), why, error))
        return false;
    m_paths->noteRemoved(source);
    m_paths->noteCreated(target);
    return true;
}
