// Feeds any bytes to the setup-file reader: lines as the runtime reads them, records as start-up
// parses them. Nothing may crash or hang, and what is read must be what the file holds.
#include "runtime/FileAccess.h"
#include "runtime/FileTable.h"
#include "setup/SetupFile.h"

#include <QFile>
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
    // Every break ends a line (CR LF, a lone CR, a lone LF), and every other byte comes back unchanged.
    QStringList expected{QString()};
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n')
            expected << QString();
        else
            expected.last() += QLatin1Char(bytes[i]);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
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
    const QString text = QString::fromLatin1(bytes);
    const QStringList saved = SetupFile::lines({text, text, text, text, text});
    check(saved.size() == 5);
    for (const QString &record : saved)
        check(!record.contains(u'\r') && !record.contains(u'\n') && SetupFile::parse(record).has_value());
    return 0;
}
