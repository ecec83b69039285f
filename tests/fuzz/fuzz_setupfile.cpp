// Feeds any bytes to the setup-file reader: lines as the runtime reads them, records as start-up
// parses them. Nothing may crash or hang, and what is read must be what the file holds.
#include "runtime/AnsiCodePage.h"
#include "runtime/FileAccess.h"
#include "runtime/FileTable.h"
#include "setup/SetupFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QString inputPath()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("setup.fil"));
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(inputPath());
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(bytes) == bytes.size());
    }

    static const std::unique_ptr<FileAccess> disk = makeNativeFileAccess();
    std::unique_ptr<HostFile> input = disk->open(inputPath(), FileAccess::Mode::Read, nullptr);
    check(input != nullptr);
    FileTable files;
    files.add(1, std::move(input), FileTable::Mode::Input, inputPath());
    // The file's characters: after a byte-order mark, UTF-8 or UTF-16 (a lone half of a pair read as
    // a replacement); else one a byte in the code page. Every break ends a line (CR LF, a lone CR, a
    // lone LF), and every other character comes back unchanged.
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        text = QString::fromUtf8(QString(QStringDecoder(bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE)(bytes.mid(2))).toUtf8());
    else
        text = AnsiCodePage::decode(bytes);
    QStringList expected{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            expected << QString();
        else
            expected.last() += text[i];
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    if (expected.last().isEmpty())
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

    // Whatever a value holds, a save writes exactly five records.
    const QStringList saved = SetupFile::lines({text, text, text, text, text});
    check(saved.size() == 5);
    for (const QString &record : saved)
        check(!record.contains(u'\r') && !record.contains(u'\n') && SetupFile::parse(record).has_value());
    return 0;
}
