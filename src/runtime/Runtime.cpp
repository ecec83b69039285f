#include "runtime/Runtime.h"

#include "runtime/PathMapper.h"
#include "runtime/Wildcard.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

QString parentOf(const QString &hostPath)
{
    return hostPath.left(hostPath.lastIndexOf(u'/'));
}

} // namespace

Runtime::Runtime(Host &host)
    : m_host(host)
    , m_paths(makeNativePathMapper(host.driveFolder()))
{
}

Runtime::~Runtime() = default;

void Runtime::prepareDrives()
{
    m_paths->prepare();
}

Runtime::DosPath Runtime::parse(const QString &path) const
{
    DosPath result;
    QStringView rest(path);
    if (rest.size() >= 2 && rest[1] == u':' && rest[0].isLetter()) {
        result.drive = rest[0].toLower();
        rest = rest.mid(2);
    } else {
        result.drive = m_drive;
    }
    if (rest.isEmpty() || !isSeparator(rest[0]))
        result.names = m_folders.value(result.drive);
    for (const QStringView name : rest.tokenize(u'\\')) {
        for (const QStringView part : name.tokenize(u'/')) {
            if (part.isEmpty() || part == u".")
                continue;
            if (part == u"..") {
                if (!result.names.isEmpty())
                    result.names.removeLast();
                continue;
            }
            result.names << part.toString();
        }
    }
    return result;
}

QString Runtime::hostPath(const DosPath &path)
{
    return m_paths->resolve(path.drive, path.names);
}

QString Runtime::hostPath(const QString &path)
{
    return hostPath(parse(path));
}

bool Runtime::changeDrive(const QString &drive)
{
    if (drive.isEmpty() || !drive[0].isLetter())
        return false;
    const QChar letter = drive[0].toLower();
    if (m_paths->resolve(letter, {}).isEmpty())
        return false;
    m_drive = letter;
    return true;
}

bool Runtime::changeFolder(const QString &path)
{
    const DosPath target = parse(path);
    if (!QFileInfo(hostPath(target)).isDir())
        return false;
    m_folders[target.drive] = target.names;
    return true;
}

QString Runtime::currentFolder() const
{
    return currentFolderOf(QString(m_drive));
}

QString Runtime::currentFolderOf(const QString &drive) const
{
    const QChar letter = drive.isEmpty() ? m_drive : drive[0].toLower();
    return QString(letter) + QStringLiteral(":\\") + m_folders.value(letter).join(u'\\');
}

bool Runtime::makeFolder(const QString &path, QString *error)
{
    const QString host = hostPath(path);
    if (host.isEmpty() || QFileInfo::exists(host) || !QDir().mkdir(host)) {
        if (error)
            *error = QStringLiteral("Path/File access error");
        return false;
    }
    m_paths->noteCreated(host);
    return true;
}

QStringList Runtime::findAll(const QString &pattern)
{
    // A pattern that ends in a separator names no file; one whose folder holds wildcards names
    // no folder that can be listed.
    if (pattern.isEmpty() || isSeparator(pattern.back()))
        return {};
    DosPath path = parse(pattern);
    if (path.names.isEmpty())
        return {};
    const QString namePattern = path.names.takeLast();
    for (const QString &folder : std::as_const(path.names)) {
        if (Wildcard::hasWildcards(folder))
            return {};
    }
    const QString folder = hostPath(path);
    if (folder.isEmpty())
        return {};
    QStringList result;
    const QStringList entries = m_paths->files(folder);
    for (const QString &entry : entries) {
        if (Wildcard::matches(namePattern, entry))
            result << entry;
    }
    return result;
}

QString Runtime::findFirst(const QString &pattern)
{
    m_found = findAll(pattern);
    m_foundNext = 0;
    return findNext();
}

QString Runtime::findNext()
{
    if (m_foundNext >= m_found.size())
        return {};
    return m_found.at(m_foundNext++);
}

bool Runtime::copyFile(const QString &from, const QString &to, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString source = hostPath(from);
    const QString target = hostPath(to);
    if (source.isEmpty())
        return fail(QStringLiteral("File not found"));
    if (target.isEmpty())
        return fail(QStringLiteral("Path not found"));
    if (m_paths->sameFile(source, target))
        return fail(QStringLiteral("A file cannot be copied onto itself"));
    if (m_host.refuses(Host::Operation::Copy, target))
        return fail(QStringLiteral("Disk full"));

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.errorString());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(out.errorString());
    m_paths->noteCreated(target);
    for (;;) {
        const QByteArray buffer = in.read(256 * 1024);
        if (buffer.isEmpty())
            break;
        if (out.write(buffer) != buffer.size())
            return fail(out.errorString());
    }
    if (in.error() != QFileDevice::NoError)
        return fail(in.errorString());
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fail(out.errorString());
    return true;
}

bool Runtime::deleteFile(const QString &path, QString *error)
{
    const QString host = hostPath(path);
    if (host.isEmpty() || !QFileInfo(host).isFile()) {
        if (error)
            *error = QStringLiteral("File not found");
        return false;
    }
    if (m_host.refuses(Host::Operation::Delete, host) || !QFile::remove(host)) {
        if (error)
            *error = QStringLiteral("Permission denied");
        return false;
    }
    m_paths->noteRemoved(host);
    return true;
}

bool Runtime::deleteFiles(const QString &pattern)
{
    const QStringList names = findAll(pattern);
    if (names.isEmpty())
        return false;
    DosPath folder = parse(pattern);
    folder.names.removeLast();
    const QString prefix = qualified(folder);
    bool all = true;
    for (const QString &name : names)
        all = deleteFile(prefix + name) && all;
    return all;
}

QString Runtime::qualified(const DosPath &path)
{
    // A fully qualified form that parse() reads back unchanged, whatever the current folder.
    QString text = QString(path.drive) + QStringLiteral(":\\");
    for (const QString &name : path.names)
        text += name + u'\\';
    return text;
}

Runtime::Stamp Runtime::stamp(const QString &path)
{
    const QFileInfo info(hostPath(path));
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

bool Runtime::syncToDisk(const QStringList &paths, QString *error)
{
    QStringList hosts;
    hosts.reserve(paths.size());
    for (const QString &path : paths)
        hosts << hostPath(path);
    if (m_host.refuses(Host::Operation::Sync, hosts.value(0))) {
        if (error)
            *error = QStringLiteral("Device I/O error");
        return false;
    }
    return m_paths->syncToDisk(hosts, error);
}

bool Runtime::sameFolder(const QString &a, const QString &b)
{
    return m_paths->sameFile(hostPath(a), hostPath(b));
}

QStringList Runtime::drives()
{
    return m_paths->drives();
}

bool Runtime::isReadableFolder(const QString &path)
{
    const QFileInfo info(hostPath(path));
    return info.isDir() && info.isReadable() && QDir(info.filePath()).isReadable();
}

QStringList Runtime::subfolders(const QString &path)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return {};
    QStringList names = QDir(host).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString Runtime::displayPath(const QString &path)
{
    const DosPath dos = parse(path);
    const QString host = hostPath(dos);
    QStringList names = dos.names;
    if (!host.isEmpty() && !names.isEmpty()) {
        // The resolved host path ends in one entry per name, each as it stands on disk.
        const QStringList onDisk = host.split(u'/');
        names = onDisk.mid(onDisk.size() - names.size());
    }
    return QString(dos.drive.toUpper()) + QStringLiteral(":\\") + names.join(u'\\');
}

int Runtime::freeFile() const
{
    return m_files.freeNumber();
}

bool Runtime::openForInput(int number, const QString &path, QString *error)
{
    return m_files.open(number, hostPath(path), FileTable::Mode::Input, error);
}

bool Runtime::openForOutput(int number, const QString &path, QString *error)
{
    const QString host = hostPath(path);
    const bool existed = QFileInfo::exists(host);
    if (!m_files.open(number, host, FileTable::Mode::Output, error))
        return false;
    if (!existed)
        m_paths->noteCreated(host);
    return true;
}

bool Runtime::openForReplace(int number, const QString &path, QString *error)
{
    const QString host = hostPath(path);
    if (host.isEmpty() || !QFileInfo(parentOf(host)).isDir()) {
        if (error)
            *error = QStringLiteral("Path not found");
        return false;
    }
    return m_files.open(number, host, FileTable::Mode::AtomicOutput, error);
}

bool Runtime::readLine(int number, QString *line)
{
    return m_files.readLine(number, line);
}

bool Runtime::atEnd(int number)
{
    return m_files.atEnd(number);
}

bool Runtime::writeLine(int number, const QString &text, QString *error)
{
    return m_files.writeLine(number, text, error);
}

bool Runtime::isOpen(int number) const
{
    return m_files.isOpen(number);
}

bool Runtime::closeFile(int number, QString *error)
{
    if (!m_files.replaces(number))
        return m_files.close(number, error);
    // Closing a replacing output is where its target is written: the one step a full disk refuses.
    const QString host = m_files.hostPath(number);
    if (m_host.refuses(Host::Operation::Save, host)) {
        m_files.discard(number);
        if (error)
            *error = QStringLiteral("Disk full");
        return false;
    }
    const bool existed = QFileInfo::exists(host);
    const bool ok = m_files.close(number, error);
    if (ok && !existed)
        m_paths->noteCreated(host);
    return ok;
}

void Runtime::closeAll()
{
    for (int number = 1; number <= 255; ++number)
        closeFile(number);
}

QString Runtime::currentDate() const
{
    return m_host.now().toString(QStringLiteral("MM-dd-yyyy"));
}

QString Runtime::currentTime() const
{
    return m_host.now().toString(QStringLiteral("HH:mm:ss"));
}

bool Runtime::startProgram(const QString &program, const QString &argument, QString *error)
{
    const QString host = hostPath(program);
    if (host.isEmpty() || !QFileInfo(host).isFile()) {
        if (error)
            *error = QStringLiteral("%1 was not found").arg(program);
        return false;
    }
    return m_host.startProgram(host, argument, error);
}

int Runtime::messageBox(const QString &text, Host::Buttons buttons)
{
    // A busy pointer must not stand over a box the user has to answer; it comes back afterwards
    // for whatever work still follows.
    QList<QCursor> busy;
    while (const QCursor *cursor = QGuiApplication::overrideCursor()) {
        busy.prepend(*cursor);
        QGuiApplication::restoreOverrideCursor();
    }
    const int answer = m_host.messageBox(text, buttons);
    for (const QCursor &cursor : std::as_const(busy))
        QGuiApplication::setOverrideCursor(cursor);
    return answer;
}

void Runtime::endProgram()
{
    closeAll();
    m_ended = true;
    QCoreApplication::exit(0);
}
