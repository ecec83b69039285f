#include "runtime/FileTable.h"

#include "runtime/Failure.h"

#include "runtime/AnsiCodePage.h"
#include "runtime/FileAccess.h"

#include <QStringDecoder>

#include <optional>

namespace {
constexpr int highestNumber = 255;
constexpr qint64 chunk = 16 * 1024;
} // namespace

struct FileTable::Entry
{
    std::unique_ptr<HostFile> file;
    Mode mode = Mode::Input;
    QString hostPath;
    QByteArray buffer;
    qsizetype position = 0;
    QString failure;       // why a read failed; the file ends there
    bool begun = false;    // its first bytes were read and looked at
    bool utf8 = false;     // it began with a UTF-8 byte-order mark (Notepad's "UTF-8")
    // It began with a UTF-16 byte-order mark (Notepad's "Unicode"): what is read goes into the
    // buffer as UTF-8, whose line ends are single bytes as in the code page.
    std::optional<QStringDecoder> utf16;

    // Takes a byte-order mark off the front of the file's first bytes and notes what it told.
    void readMark(qsizetype from)
    {
        begun = true;
        const QByteArrayView first(buffer.constData() + from, buffer.size() - from);
        qsizetype mark = 0;
        if (first.startsWith("\xEF\xBB\xBF")) {
            utf8 = true;
            mark = 3;
        } else if (first.startsWith("\xFF\xFE") || first.startsWith("\xFE\xFF")) {
            // The mark is taken off here: one more after it is a character of the first line.
            utf16.emplace(first[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, QStringConverter::Flag::ConvertInitialBom);
            mark = 2;
        }
        buffer.remove(from, mark);
    }

    QString text(qsizetype from, qsizetype size) const
    {
        const QByteArrayView bytes(buffer.constData() + from, size);
        if (!utf8 && !utf16)
            return AnsiCodePage::decode(bytes);
        // A mark at the start of a later line is a character of that line, not one to drop.
        QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decode(bytes);
    }
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
    if (!e.failure.isEmpty())
        return false;
    if (e.position > 0) {
        e.buffer.remove(0, e.position);
        e.position = 0;
    }
    const qsizetype had = e.buffer.size();
    e.buffer.resize(had + chunk);
    Why why;
    const qint64 got = e.file->read(e.buffer.data() + had, chunk, &why);
    e.buffer.resize(had + qMax<qint64>(got, 0));
    if (got < 0)
        e.failure = why.reason.isEmpty() ? QStringLiteral("the file could not be read") : why.reason;
    if (!e.begun && got > 0)
        e.readMark(had);
    if (e.utf16) {
        const QString read = (*e.utf16)(QByteArrayView(e.buffer.constData() + had, e.buffer.size() - had));
        e.buffer.resize(had);
        e.buffer += read.toUtf8();
    }
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
            *line = e->text(e->position, end);
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
            *line = e->text(e->position, available);
            e->position += available;
            return true;
        }
    }
}

QString FileTable::readFailure(int number) const
{
    const Entry *e = entry(number);
    return e ? e->failure : QString();
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
    QByteArray bytes = e->utf8 ? text.toUtf8() : AnsiCodePage::encode(text);
    bytes.append("\r\n", 2);
    // Each line goes out at once, so a log keeps every line even if the run is cut short.
    Why why;
    return told(e->file->write(bytes.constData(), bytes.size(), &why), why, error);
}

void FileTable::writeUnicode(int number)
{
    if (Entry *e = entry(number))
        e->utf8 = true;
}

bool FileTable::isUnicode(int number) const
{
    const Entry *e = entry(number);
    return e && (e->utf8 || e->utf16);
}

bool FileTable::close(int number, QString *error)
{
    Entry *e = entry(number);
    if (!e)
        return true;
    Why why;
    const bool ok = told(e->file->finish(&why), why, error);
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
