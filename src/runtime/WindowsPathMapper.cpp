#include "runtime/WindowsPathMapper.h"

#include "runtime/Wildcard.h"
#include "runtime/WindowsCalls.h"


std::unique_ptr<PathMapper> makeNativePathMapper(const QString &, FileAccess &files)
{
    return std::make_unique<WindowsPathMapper>(files);
}

void WindowsPathMapper::prepare()
{
}

namespace {

// The name as Win32 reads it: no trailing dots or blanks.
QString trimmed(const QString &name)
{
    qsizetype size = name.size();
    while (size > 0 && (name[size - 1] == u'.' || name[size - 1] == u' '))
        --size;
    return size == 0 ? name : name.left(size);
}

} // namespace

// Windows has the drives and matches names without regard to case itself; what is resolved here
// is the name as Win32 reads it and, for what exists, as it stands on disk, so that the program
// shows and compares what is there.
HostPath WindowsPathMapper::resolve(QChar drive, const QStringList &names, FileAccess::Why *why)
{
    const QString root = QString(drive.toUpper()) + QStringLiteral(":/");
    if (m_files.entry(root).kind != FileAccess::Kind::Folder)
        return {};
    return resolveIn(HostPath(root), std::span(names.cbegin(), names.cend()), why);
}

HostPath WindowsPathMapper::resolveIn(const HostPath &folder, std::span<const QString> names, FileAccess::Why *why)
{
    QString path = folder.native();
    // Names in a folder nobody else changes are the program's own or read from it: Windows finds
    // them as they are.
    bool exists = pinOf(path).expired();
    for (const QString &given : names) {
        QString name = trimmed(given);
        if (!path.endsWith(u'/'))
            path += u'/';
        if (exists && !Wildcard::hasWildcards(name)) {
            const FileAccess::Entry entry = m_files.entry(path + name);
            // A share that drops for a moment is no missing name: nothing is taken for absent.
            if (entry.why.unknown()) {
                if (why)
                    *why = entry.why;
                return {};
            }
            exists = entry.kind != FileAccess::Kind::None;
            if (exists)
                name = entry.name;
        }
        path += name;
    }
    return HostPath(path);
}

QStringList WindowsPathMapper::drives()
{
    return WindowsCalls::drives();
}
