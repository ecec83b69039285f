#include "runtime/FileTable.h"

#include <QFile>
#include <QSaveFile>

namespace {
constexpr int highestNumber = 255;
constexpr qint64 chunk = 64 * 1024;
} // namespace

FileTable::FileTable() = default;

FileTable::~FileTable()
{
    closeAll();
}

FileTable::Entry *FileTable::entry(int number)
{
    if (number < 1 || number > highestNumber)
        return nullptr;
    return m_entries[number].get();
}

const FileTable::Entry *FileTable::entry(int number) const
{
    if (number < 1 || number > highestNumber)
        return nullptr;
    return m_entries[number].get();
}

int FileTable::freeNumber() const
{
    for (int number = 1; number <= highestNumber; ++number) {
        if (!m_entries[number])
            return number;
    }
    return 0;
}

bool FileTable::isOpen(int number) const
{
    return entry(number) != nullptr;
}

QString FileTable::hostPath(int number) const
{
    const Entry *e = entry(number);
    return e ? e->device->fileName() : QString();
}

bool FileTable::replaces(int number) const
{
    const Entry *e = entry(number);
    return e && e->mode == Mode::AtomicOutput;
}

bool FileTable::open(int number, const QString &hostPath, Mode mode, QString *error)
{
    if (number < 1 || number > highestNumber || m_entries[number]) {
        if (error)
            *error = QStringLiteral("File number %1 is not free").arg(number);
        return false;
    }
    auto e = std::make_unique<Entry>();
    e->mode = mode;
    if (mode == Mode::AtomicOutput)
        e->device = std::make_unique<QSaveFile>(hostPath);
    else
        e->device = std::make_unique<QFile>(hostPath);
    const QIODevice::OpenMode how = mode == Mode::Input ? QIODevice::ReadOnly
                                                        : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!e->device->open(how)) {
        if (error)
            *error = e->device->errorString();
        return false;
    }
    m_entries[number] = std::move(e);
    return true;
}

bool FileTable::fill(Entry &e)
{
    if (e.position > 0) {
        e.buffer.remove(0, e.position);
        e.position = 0;
    }
    const QByteArray more = e.device->read(chunk);
    e.buffer.append(more);
    return !more.isEmpty();
}

bool FileTable::readLine(int number, QString *line)
{
    Entry *e = entry(number);
    if (!e || e->mode != Mode::Input)
        return false;
    qsizetype scanned = 0;
    for (;;) {
        const char *data = e->buffer.constData() + e->position;
        const qsizetype available = e->buffer.size() - e->position;
        qsizetype end = scanned;
        while (end < available && data[end] != '\r' && data[end] != '\n')
            ++end;
        if (end < available) {
            // A CR at the very end of the buffer may be the first half of CR LF.
            if (data[end] == '\r' && end + 1 == available && fill(*e)) {
                scanned = end;
                continue;
            }
            *line = QString::fromLatin1(data, end);
            qsizetype next = end + 1;
            if (data[end] == '\r' && next < available && data[next] == '\n')
                ++next;
            e->position += next;
            return true;
        }
        scanned = end;
        if (!fill(*e)) {
            if (available == 0)
                return false;
            *line = QString::fromLatin1(e->buffer.constData() + e->position, available);
            e->position += available;
            return true;
        }
    }
}

bool FileTable::atEnd(int number)
{
    Entry *e = entry(number);
    if (!e)
        return true;
    if (e->position < e->buffer.size())
        return false;
    return !fill(*e);
}

bool FileTable::writeLine(int number, const QString &text, QString *error)
{
    Entry *e = entry(number);
    if (!e || e->mode == Mode::Input) {
        if (error)
            *error = QStringLiteral("File number %1 is not open for output").arg(number);
        return false;
    }
    QByteArray bytes = text.toLatin1();
    bytes.append("\r\n", 2);
    // Plain output goes out line by line, so a log shows every line even if the run is cut short.
    const bool written = e->device->write(bytes) == bytes.size()
        && (e->mode == Mode::AtomicOutput || e->device->flush());
    if (!written) {
        if (error)
            *error = e->device->errorString();
        return false;
    }
    return true;
}

bool FileTable::close(int number, QString *error)
{
    Entry *e = entry(number);
    if (!e)
        return true;
    bool ok = true;
    if (e->mode == Mode::AtomicOutput) {
        auto *save = static_cast<QSaveFile *>(e->device.get());
        ok = save->commit();
        if (!ok && error)
            *error = save->errorString();
    } else {
        e->device->close();
        if (e->device->error() != QFileDevice::NoError) {
            ok = false;
            if (error)
                *error = e->device->errorString();
        }
    }
    m_entries[number].reset();
    return ok;
}

void FileTable::discard(int number)
{
    Entry *e = entry(number);
    if (!e)
        return;
    if (e->mode == Mode::AtomicOutput)
        static_cast<QSaveFile *>(e->device.get())->cancelWriting();
    m_entries[number].reset();
}

void FileTable::closeAll()
{
    for (int number = 1; number <= highestNumber; ++number)
        close(number, nullptr);
}
