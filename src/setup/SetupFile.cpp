#include "setup/SetupFile.h"

#include "session/TextCase.h"

namespace {

const QString keys[] = {
    QStringLiteral("site-id:"),
    QStringLiteral("siteswr:"),
    QStringLiteral("sitefmt:"),
    QStringLiteral("sitepat:"),
    QStringLiteral("sitefil:"),
};
constexpr int keyLength = 8;

// A line break inside a value would end its record early and forge the next one.
QString oneLine(QString value)
{
    value.remove(u'\r');
    value.remove(u'\n');
    return value;
}

} // namespace

const QString &SetupFile::keyText(Key key)
{
    return keys[int(key)];
}

std::optional<SetupFile::Record> SetupFile::parse(const QString &line)
{
    const QStringView key = QStringView(line).left(keyLength);
    for (int i = 0; i < 5; ++i) {
        if (key == keys[i])
            return Record{Key(i), TextCase::upper(TextCase::trimRight(line.mid(keyLength)))};
    }
    return std::nullopt;
}

QStringList SetupFile::lines(const Values &values)
{
    return {
        keys[0] + oneLine(values.siteId),
        keys[1] + oneLine(values.software),
        keys[2] + oneLine(values.format),
        keys[3] + oneLine(values.folder),
        keys[4] + oneLine(values.fileName),
    };
}
