#include "runtime/PosixPathMapper.h"

#include <QStandardPaths>

std::unique_ptr<PathMapper> makeNativePathMapper(const QString &driveFolder, FileAccess &files)
{
    return std::make_unique<PosixPathMapper>(driveFolder, files);
}

PosixPathMapper::PosixPathMapper(const QString &driveFolder, FileAccess &files)
    : m_driveFolder(driveFolder)
    , m_files(files)
{
}

FileAccess::Entry PosixPathMapper::entry(const QString &hostPath, FileAccess::Why *why)
{
    const FileAccess::Entry found = m_files.entry(hostPath);
    // Only "no such name" is absence; a folder whose status cannot be read may hold anything.
    if (found.why.unknown())
        *why = found.why;
    return found;
}

bool PosixPathMapper::isThere(const QString &hostPath, FileAccess::Why *why)
{
    return entry(hostPath, why).kind != FileAccess::Kind::None;
}

qint64 PosixPathMapper::folderStamp(const QString &hostFolder, FileAccess::Why *why)
{
    const FileAccess::Entry folder = entry(hostFolder, why);
    return folder.kind == FileAccess::Kind::None ? -2 : folder.modified;
}

bool PosixPathMapper::makePath(const QString &hostFolder)
{
    const qsizetype slash = hostFolder.lastIndexOf(u'/');
    if (slash < 0 || m_files.entry(hostFolder).kind == FileAccess::Kind::Folder)
        return true;
    return (slash == 0 || makePath(hostFolder.left(slash))) && m_files.makeFolder(hostFolder, nullptr);
}

// Where a program the host provides is linked in as one of the browsers the program looks for.
void PosixPathMapper::linkBrowser(const QString &driveC, const QString &folder, const QString &file, const QString &target)
{
    makePath(driveC + folder);
    m_files.makeLink(target, driveC + folder + u'/' + file, nullptr);
}

void PosixPathMapper::prepare()
{
    // An existing drive folder is the user's (or Wine's) layout: never touch it.
    if (m_files.entry(m_driveFolder).why.cause != FileAccess::Cause::Missing || !makePath(m_driveFolder))
        return;
    const QString driveC = m_driveFolder.left(m_driveFolder.lastIndexOf(u'/')) + QStringLiteral("/drive_c");
    makePath(driveC);
    m_files.makeLink(driveC, m_driveFolder + QStringLiteral("/c:"), nullptr);
    m_files.makeLink(QStringLiteral("/"), m_driveFolder + QStringLiteral("/z:"), nullptr);

    const QString firefox = QStandardPaths::findExecutable(QStringLiteral("firefox"));
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!firefox.isEmpty())
        linkBrowser(driveC, QStringLiteral("/program files/mozilla firefox"), QStringLiteral("firefox.exe"), firefox);
    else if (!xdgOpen.isEmpty())
        linkBrowser(driveC, QStringLiteral("/program files/internet explorer"), QStringLiteral("iexplore.exe"), xdgOpen);
}

HostPath PosixPathMapper::resolve(QChar drive, const QStringList &names, FileAccess::Why *why)
{
    // The folders above the last name repeat from call to call (one claim folder, one outbound
    // folder); a folder found before is taken again while it still exists.
    FileAccess::Why unused;
    if (!why)
        why = &unused;
    const qsizetype folderDepth = names.isEmpty() ? 0 : names.size() - 1;
    QString key(drive.toLower());
    for (qsizetype i = 0; i < folderDepth; ++i)
        key += u'\\' + names.at(i).toCaseFolded();
    QString path = m_folders.value(key);
    if (path.isEmpty() || !isThere(path, why)) {
        if (why->failed())
            return {};
        path = m_driveFolder + u'/' + drive.toLower() + u':';
        if (!isThere(path, why))
            return {};
        for (qsizetype i = 0; i < folderDepth; ++i) {
            const QString name = entryIn(path, names.at(i), why);
            if (name.isEmpty())
                return {};
            path = path + u'/' + name;
        }
        if (isThere(path, why))
            m_folders.insert(key, path);
        else if (why->failed())
            return {};
        else
            m_folders.remove(key);
    }
    return names.isEmpty() ? HostPath(path) : resolveIn(HostPath(path), std::span(&names.last(), 1), why);
}

HostPath PosixPathMapper::resolveIn(const HostPath &folder, std::span<const QString> names, FileAccess::Why *why)
{
    FileAccess::Why unused;
    QString path = folder.native();
    for (const QString &given : names) {
        const QString name = entryIn(path, given, why ? why : &unused);
        if (name.isEmpty())
            return {};
        path.reserve(path.size() + 1 + name.size());
        path += u'/';
        path += name;
    }
    return HostPath(path);
}

QString PosixPathMapper::entryIn(const QString &hostFolder, const QString &name, FileAccess::Why *why)
{
    // In a folder nobody else changes, the names read once are all there is.
    const auto known = m_listings.constFind(hostFolder);
    if (known != m_listings.cend() && !known->trustedWhile.expired())
        return known->spelling(name);
    if (pinOf(hostFolder).expired()) {
        const FileAccess::Entry entry = m_files.entry(hostFolder + u'/' + name);
        if (entry.kind != FileAccess::Kind::None)
            return name;
    }
    const Listing *names = listing(hostFolder, why);
    return names ? names->spelling(name) : QString();
}

QString PosixPathMapper::Listing::spelling(const QString &name) const
{
    const auto it = byFolded.constFind(FoldedName(name));
    if (it == byFolded.cend() || *it == name || variants.contains(name))
        return name;
    return *it;
}

void PosixPathMapper::Listing::add(const QString &name)
{
    const FoldedName folded(name);
    const auto it = byFolded.find(folded);
    if (it == byFolded.end()) {
        byFolded.insert(folded, name);
    } else if (*it != name) {
        variants.insert(*it);
        variants.insert(name);
        if (name < *it)
            *it = name;
    }
}

bool PosixPathMapper::Listing::remove(const QString &name)
{
    variants.remove(name);
    const auto it = byFolded.find(FoldedName(name));
    if (it == byFolded.end() || *it != name)
        return true;
    byFolded.erase(it);
    return false;
}

const PosixPathMapper::Listing *PosixPathMapper::listing(const QString &hostFolder, FileAccess::Why *why)
{
    Listing &cached = m_listings[hostFolder];
    if (!cached.trustedWhile.expired())
        return &cached;
    cached.trustedWhile = pinOf(hostFolder);
    const qint64 stamp = folderStamp(hostFolder, why);
    if (why->failed()) {
        cached.stamp = -1;
        cached.trustedWhile.reset();
        return nullptr;
    }
    if (cached.stamp == stamp)
        return &cached;
    cached.stamp = stamp;
    cached.byFolded.clear();
    cached.variants.clear();
    const FileAccess::Names read = m_files.names(hostFolder);
    // A folder that is not there holds no other spelling of the name; one that cannot be read may.
    if (read.why.unknown()) {
        cached.stamp = -1;
        cached.trustedWhile.reset();
        *why = read.why;
        return nullptr;
    }
    for (const QString &entry : read.names)
        cached.add(entry);
    return &cached;
}

void PosixPathMapper::note(const QString &hostPath, bool created)
{
    const qsizetype slash = hostPath.lastIndexOf(u'/');
    const QString folder = hostPath.left(slash);
    auto it = m_listings.find(folder);
    if (it == m_listings.end())
        return;
    const QString name = hostPath.mid(slash + 1);
    if (created) {
        it->add(name);
    } else if (!it->remove(name)) {
        // Another case variant may remain; reading the folder again is the only safe answer.
        it->stamp = -1;
        return;
    }
    // A pinned folder's listing is known whole; once the pin is gone, it is checked against the disk again.
    FileAccess::Why unread;
    it->stamp = it->trustedWhile.expired() ? folderStamp(folder, &unread) : -1;
}

void PosixPathMapper::noteCreated(const HostPath &path)
{
    note(path.native(), true);
}

void PosixPathMapper::noteRemoved(const HostPath &path)
{
    note(path.native(), false);
}

QStringList PosixPathMapper::drives()
{
    QStringList result;
    QStringList entries = m_files.names(m_driveFolder).names;
    entries.sort();
    for (const QString &entry : entries) {
        if (entry.size() == 2 && entry[1] == u':' && entry[0].isLetter() && entry[0].isLower())
            result << entry;
    }
    return result;
}
