#include "setup/SetupFile.h"

#include "runtime/Runtime.h"
#include "session/Session.h"
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
    value.removeIf([](QChar c) { return c == u'\r' || c == u'\n'; });
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

QStringList SetupFile::lines(const SetupValues &values)
{
    return {
        keys[0] + oneLine(values.siteId),
        keys[1] + oneLine(values.software),
        keys[2] + oneLine(values.format),
        keys[3] + oneLine(values.folder),
        keys[4] + oneLine(values.fileName),
    };
}

void SetupFile::read(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();

    v.SetupReadFileNo = qint16(rt.freeFile());
    QString error;
    QList<Record> records;
    const DosPath setup = rt.path(QStringLiteral("setup.fil"));
    if (rt.openForInput(v.SetupReadFileNo, setup, &error)) {
        QString line;
        while (!rt.atEnd(v.SetupReadFileNo) && rt.readLine(v.SetupReadFileNo, &line)) {
            if (const std::optional<Record> record = parse(line))
                records << *record;
        }
        error = rt.readFailure(v.SetupReadFileNo);
        rt.closeFile(v.SetupReadFileNo);
    } else if (!rt.stamp(setup).exists()) {
        error.clear();   // gone since start-up found it: as a missing one
    }
    // Half a setup would send to the wrong site or from the wrong folder.
    if (!error.isEmpty()) {
        rt.messageBox(QStringLiteral("The setup file %1setup.fil could not be read: %2. Click OK and then Click on "
                                     "Setup to enter the setup again.").arg(v.BaseDir, error));
        return;
    }

    using Field = SetupWindowFields::Field;
    for (const Record &record : std::as_const(records)) {
        const QString &value = record.value;
        switch (record.key) {
        case Key::SiteId: {
            MainWindowFields &shown = session.mainWindow();
            shown.setSiteId(value);
            session.setupWindow().setText(Field::SiteId, shown.siteId());
            v.SiteId = TextCase::lower(shown.siteId());
            break;
        }
        case Key::Software:
            session.setupWindow().setText(Field::Software, value);
            break;
        case Key::Format:
            session.setupWindow().setText(Field::Format, value);
            break;
        case Key::Folder:
            session.setupWindow().setText(Field::Folder, value);
            v.ClaimPath = session.setupWindow().text(Field::Folder) + u'\\';
            break;
        case Key::FileName:
            session.setupWindow().setText(Field::FileName, value);
            v.ClaimFileSpec = session.setupWindow().text(Field::FileName);
            break;
        }
    }
}
