// Feeds any bytes to the setup-file reader: lines as the runtime reads them, records as start-up
// parses them. Nothing may crash or hang, and what is read must be what the file holds.
#include "runtime/AnsiCodePage.h"
#include "runtime/FileAccess.h"
#include "runtime/FileTable.h"
#include "setup/SetupFile.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <cstring>

#include <cstdlib>

namespace {

// The input as the disk would give it, from memory: any number of bytes a read.
class MemoryFile : public HostFile
{
public:
    explicit MemoryFile(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    qint64 read(char *data, qint64 size, Why *) override
    {
        const qint64 n = qMin(size, m_bytes.size() - m_at);
        memcpy(data, m_bytes.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    bool write(const char *, qint64, Why *) override { return false; }
    bool finish(Why *) override { return true; }

private:
    QByteArray m_bytes;
    qint64 m_at = 0;
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FileTable files;
    files.add(1, std::make_unique<MemoryFile>(bytes), FileTable::Mode::Input, QStringLiteral("setup.fil"));
    // The file's characters: after a byte-order mark, UTF-8 or UTF-16 (a lone half of a pair read as
    // a replacement); else one a byte in the code page. Every break ends a line (CR LF, a lone CR, a
    // lone LF), and every other character comes back unchanged.
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom)(bytes.mid(3));
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)(
            QString(QStringDecoder(bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, QStringConverter::Flag::ConvertInitialBom)(bytes.mid(2))).toUtf8());
    else
        text = AnsiCodePage::decode(bytes);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList expected = text.split(lineBreak);
    if (expected.constLast().isEmpty())
        expected.removeLast();
    QStringList read;
    QString line;
    while (!files.atEnd(1) && files.readLine(1, &line)) {
        read << line;
        check(read.size() <= expected.size());
        if (const auto record = SetupFile::parse(line)) {
            check(line.startsWith(SetupFile::keyText(record->key)));
            check(!record->value.endsWith(u' '));
            check(record->value.size() <= line.size() - 8);
        }
    }
    check(read == expected && !files.readLine(1, &line));
    return 0;
}
