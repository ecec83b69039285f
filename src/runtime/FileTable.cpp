#include "runtime/FileTable.h"

#include "runtime/FileAccess.h"

namespace {
constexpr int highestNumber = 255;
constexpr qint64 chunk = 64 * 1024;
} // namespace

struct FileTable::Entry
{
    std::unique_ptr<HostFile> file;
    Mode mode = Mode::Input;
    QString hostPath;
    QByteArray buffer;
    qsizetype position = 0;
    bool failed = false;   // a read failed: the file ends there
};

FileTable::FileTable() = default;

FileTable::~FileTable()
{
    closeAll();
}

FileTable::Entry *FileTable::entry(int number) const
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

bool FileTable::isFree(int number) const
{
    return number >= 1 && number <= highestNumber && !m_entries[number];
}

bool FileTable::isOpen(int number) const
{
    return entry(number) != nullptr;
}

QString FileTable::hostPath(int number) const
{
    const Entry *e = entry(number);
    return e ? e->hostPath : QString();
}

void FileTable::add(int number, std::unique_ptr<HostFile> file, Mode mode, const QString &hostPath)
{
    auto e = std::make_unique<Entry>();
    e->file = std::move(file);
    e->mode = mode;
    e->hostPath = hostPath;
    m_entries[number] = std::move(e);
}

bool FileTable::fill(Entry &e)
{
    if (e.failed)
        return false;
    if (e.position > 0) {
        e.buffer.remove(0, e.position);
        e.position = 0;
    }
    const qsizetype had = e.buffer.size();
    e.buffer.resize(had + chunk);
    const qint64 got = e.file->read(e.buffer.data() + had, chunk, nullptr);
    e.buffer.resize(had + qMax<qint64>(got, 0));
    e.failed = got < 0;
    return got > 0;
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
            *error = QStringLiteral("file number %1 is not open for output").arg(number);
        return false;
    }
    QByteArray bytes = text.toLatin1();
    bytes.append("\r\n", 2);
    // Each line goes out at once, so a log keeps every line even if the run is cut short.
    return e->file->write(bytes.constData(), bytes.size(), error);
}

bool FileTable::close(int number, QString *error)
{
    Entry *e = entry(number);
    if (!e)
        return true;
    const bool ok = e->file->finish(error);
    m_entries[number].reset();
    return ok;
}

void FileTable::discard(int number)
{
    if (entry(number))
        m_entries[number].reset();
}

void FileTable::closeAll()
{
    for (int number = 1; number <= highestNumber; ++number)
        close(number, nullptr);
}
