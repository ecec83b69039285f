#include "runtime/PosixPathMapper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <dirent.h>
#include <sys/stat.h>

namespace {

qint64 folderStamp(const QString &hostFolder)
{
    struct stat st {};
    if (::stat(QFile::encodeName(hostFolder).constData(), &st) != 0)
        return -2;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool exists(const QString &hostPath)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(hostPath).constData(), &st) == 0;
}

// Where a program the host provides is linked in as one of the browsers the program looks for.
void linkBrowser(const QString &driveC, const QString &folder, const QString &file, const QString &target)
{
    QDir().mkpath(driveC + folder);
    QFile::link(target, driveC + folder + file);
}

} // namespace

std::unique_ptr<PathMapper> makeNativePathMapper(const QString &driveFolder)
{
    return std::make_unique<PosixPathMapper>(driveFolder);
}

PosixPathMapper::PosixPathMapper(const QString &driveFolder)
    : m_driveFolder(driveFolder)
{
}

void PosixPathMapper::prepare()
{
    // An existing drive folder is the user's (or Wine's) layout: never touch it.
    if (QFileInfo::exists(m_driveFolder))
        return;
    if (!QDir().mkpath(m_driveFolder))
        return;
    QDir parent(m_driveFolder);
    parent.cdUp();
    const QString driveC = parent.absoluteFilePath(QStringLiteral("drive_c"));
    QDir().mkpath(driveC);
    QFile::link(driveC, m_driveFolder + QStringLiteral("/c:"));
    QFile::link(QStringLiteral("/"), m_driveFolder + QStringLiteral("/z:"));

    const QString firefox = QStandardPaths::findExecutable(QStringLiteral("firefox"));
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!firefox.isEmpty())
        linkBrowser(driveC, QStringLiteral("/program files/mozilla firefox/"), QStringLiteral("firefox.exe"), firefox);
    else if (!xdgOpen.isEmpty())
        linkBrowser(driveC, QStringLiteral("/program files/internet explorer/"), QStringLiteral("iexplore.exe"), xdgOpen);
}

QString PosixPathMapper::resolve(QChar drive, const QStringList &names)
{
    // The folders above the last name repeat from call to call (one claim folder, one outbound
    // folder); a folder found before is taken again while it still exists.
    const qsizetype folderDepth = names.isEmpty() ? 0 : names.size() - 1;
    QString key(drive.toLower());
    for (qsizetype i = 0; i < folderDepth; ++i)
        key += u'\\' + names.at(i).toCaseFolded();
    QString path = m_folders.value(key);
    const bool trusted = m_steady && m_checkedFolders.contains(key);
    if (!trusted && (path.isEmpty() || !exists(path))) {
        path = m_driveFolder + u'/' + drive.toLower() + u':';
        if (!exists(path))
            return {};
        for (qsizetype i = 0; i < folderDepth; ++i)
            path = path + u'/' + entryIn(path, names.at(i));
        if (exists(path))
            m_folders.insert(key, path);
        else
            m_folders.remove(key);
    }
    if (m_steady && !trusted && m_folders.contains(key))
        m_checkedFolders.insert(key);
    if (!names.isEmpty())
        path = path + u'/' + entryIn(path, names.last());
    return path;
}

QString PosixPathMapper::entryIn(const QString &hostFolder, const QString &name)
{
    if (!m_steady && exists(hostFolder + u'/' + name))
        return name;
    const Listing &names = listing(hostFolder);
    if (names.names.contains(name))
        return name;
    return names.byFolded.value(name.toCaseFolded(), name);
}

const PosixPathMapper::Listing &PosixPathMapper::listing(const QString &hostFolder)
{
    Listing &cached = m_listings[hostFolder];
    if (m_steady && cached.checked)
        return cached;
    cached.checked = m_steady;
    const qint64 stamp = folderStamp(hostFolder);
    if (cached.stamp == stamp)
        return cached;
    cached.stamp = stamp;
    cached.byFolded.clear();
    cached.names.clear();
    DIR *folder = ::opendir(QFile::encodeName(hostFolder).constData());
    if (!folder)
        return cached;
    while (const dirent *raw = ::readdir(folder)) {
        const QString entry = QFile::decodeName(raw->d_name);
        if (entry == QLatin1String(".") || entry == QLatin1String(".."))
            continue;
        cached.names.insert(entry);
        // Several case variants: always the same one, the least in code-point order.
        auto it = cached.byFolded.find(entry.toCaseFolded());
        if (it == cached.byFolded.end())
            cached.byFolded.insert(entry.toCaseFolded(), entry);
        else if (entry < it.value())
            it.value() = entry;
    }
    ::closedir(folder);
    return cached;
}

void PosixPathMapper::note(const QString &hostPath, bool created)
{
    const qsizetype slash = hostPath.lastIndexOf(u'/');
    const QString folder = hostPath.left(slash);
    auto it = m_listings.find(folder);
    if (it == m_listings.end())
        return;
    const QString name = hostPath.mid(slash + 1);
    const QString folded = name.toCaseFolded();
    if (created) {
        it->names.insert(name);
        auto entry = it->byFolded.find(folded);
        if (entry == it->byFolded.end() || name < entry.value())
            it->byFolded.insert(folded, name);
    } else {
        it->names.remove(name);
        if (it->byFolded.value(folded) == name) {
            // Another case variant may remain; reading the folder again is the only safe answer.
            it->byFolded.remove(folded);
            it->stamp = -1;
            return;
        }
    }
    // A steady folder's listing is known whole; one read later is checked against the disk again.
    it->stamp = m_steady ? -1 : folderStamp(folder);
}

void PosixPathMapper::setSteady(bool steady)
{
    // What was seen before is checked against the disk once more, then trusted until it ends.
    m_steady = steady;
    m_checkedFolders.clear();
    for (Listing &listing : m_listings)
        listing.checked = false;
}

void PosixPathMapper::noteCreated(const QString &hostPath)
{
    note(hostPath, true);
}

void PosixPathMapper::noteRemoved(const QString &hostPath)
{
    note(hostPath, false);
}

QStringList PosixPathMapper::drives()
{
    QStringList result;
    const QStringList entries = QDir(m_driveFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.size() == 2 && entry[1] == u':' && entry[0].isLetter() && entry[0].isLower())
            result << entry;
    }
    return result;
}
