#include "session/Startup.h"

#include "runtime/Runtime.h"
#include "session/Session.h"
#include "session/TextCase.h"
#include "setup/SetupFile.h"

namespace {

using Field = SetupWindowFields::Text;

const QString browserCandidates[] = {
    QStringLiteral("c:\\program files (x86)\\mozilla firefox\\firefox.exe"),
    QStringLiteral("c:\\program files\\mozilla firefox\\firefox.exe"),
    QStringLiteral("c:\\program files (x86)\\internet explorer\\iexplore.exe"),
    QStringLiteral("c:\\program files\\internet explorer\\iexplore.exe"),
};

} // namespace

void Startup::load(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();

    rt.prepareDrives();
    rt.changeDrive(QStringLiteral("c:"));

    // Until the browser is chosen, a step that fails is skipped: existing folders are the rule.
    v.BaseDir = QStringLiteral("c:\\qrn");
    rt.makeFolder(v.BaseDir);
    for (const char *folder : {"\\claims", "\\claimsbu", "\\reports", "\\user", "\\log"})
        rt.makeFolder(v.BaseDir + QLatin1String(folder));
    v.LogFilePath = v.BaseDir + QStringLiteral("\\log\\qrnweb.txt");
    v.LogFileNo = qint16(rt.freeFile());
    // A log that cannot be opened names no file at all, so that its lines can never land in
    // another file that later takes the same number.
    if (!rt.openForOutput(v.LogFileNo, v.LogFilePath))
        v.LogFileNo = 0;
    rt.writeLine(v.LogFileNo, QStringLiteral("Start QRNWeb session on ") + rt.currentDate()
                                  + QStringLiteral(" at ") + rt.currentTime());

    for (const QString &candidate : browserCandidates) {
        if (!rt.findFirst(candidate).isEmpty()) {
            v.BrowserPath = candidate;
            break;
        }
    }
    if (v.BrowserPath.isEmpty()) {
        rt.messageBox(QStringLiteral("Browser not found, Call QRN"));
        rt.endProgram();   // closes every open file, the session log included
        return;
    }

    rt.changeFolder(v.BaseDir);
    v.BaseDir += u'\\';

    if (rt.findFirst(v.BaseDir + QStringLiteral("setup.fil")).isEmpty()) {
        rt.messageBox(QStringLiteral("Setup Required, Click OK and then Click on Setup"));
        return;
    }
    readSetupFile(session);
}

void Startup::readSetupFile(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();

    v.SetupReadFileNo = qint16(rt.freeFile());
    // A setup file that vanished or cannot be read leaves the settings empty, as a missing one does.
    if (!rt.openForInput(v.SetupReadFileNo, QStringLiteral("setup.fil")))
        return;
    QString line;
    while (!rt.atEnd(v.SetupReadFileNo) && rt.readLine(v.SetupReadFileNo, &line)) {
        const std::optional<SetupFile::Record> record = SetupFile::parse(line);
        if (!record)
            continue;
        const QString &value = record->value;
        switch (record->key) {
        case SetupFile::Key::SiteId: {
            MainWindowFields &shown = session.mainWindow();
            shown.setSiteId(value);
            session.setupWindow().setText(Field::SiteId, shown.siteId());
            v.SiteId = TextCase::lower(shown.siteId());
            break;
        }
        case SetupFile::Key::Software:
            session.setupWindow().setText(Field::Software, value);
            break;
        case SetupFile::Key::Format:
            session.setupWindow().setText(Field::Format, value);
            break;
        case SetupFile::Key::Folder:
            session.setupWindow().setText(Field::Folder, value);
            v.ClaimPath = session.setupWindow().text(Field::Folder) + u'\\';
            break;
        case SetupFile::Key::FileName:
            session.setupWindow().setText(Field::FileName, value);
            v.ClaimFileSpec = session.setupWindow().text(Field::FileName);
            break;
        }
    }
    rt.closeFile(v.SetupReadFileNo);
}

void Startup::unload(Session &session)
{
    session.runtime().endProgram();
}
