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

// Windows has the drives and matches names without regard to case itself; what is resolved here
// is the name as Win32 reads it (no trailing dots or blanks) and, for what exists, as it stands on
// disk, so that the program shows and compares what is there.
QString WindowsPathMapper::resolve(QChar drive, const QStringList &names, FileAccess::Why *why)
{
    QString path = QString(drive.toUpper()) + QStringLiteral(":/");
    if (m_files.entry(path).kind != FileAccess::Kind::Folder)
        return {};
    bool exists = true;
    for (QString name : names) {
        QString trimmed = name;
        while (trimmed.endsWith(u'.') || trimmed.endsWith(u' '))
            trimmed.chop(1);
        if (!trimmed.isEmpty())
            name = trimmed;
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
        path += name + u'/';
    }
    if (!names.isEmpty())
        path.chop(1);
    return path;
}

QStringList WindowsPathMapper::drives()
{
    return WindowsCalls::drives();
}

void WindowsPathMapper::noteCreated(const QString &)
{
}

void WindowsPathMapper::noteRemoved(const QString &)
{
}
