#include "session/Startup.h"

#include "runtime/Runtime.h"
#include "session/PortalCommands.h"
#include "session/SendHistory.h"
#include "session/Session.h"

namespace {

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
    const DosPath base = rt.path(v.BaseDir);
    rt.makeFolder(base);
    for (const char *folder : {"claims", "claimsbu", "reports", "user", "log"})
        rt.makeFolder(base / QLatin1String(folder));
    v.LogFilePath = v.BaseDir + QStringLiteral("\\log\\qrnweb.txt");
    v.LogFileNo = qint16(rt.freeFile());
    // A log that cannot be opened names no file at all, so that its lines can never land in
    // another file that later takes the same number.
    if (!rt.openForOutput(v.LogFileNo, base / QStringLiteral("log") / QStringLiteral("qrnweb.txt")))
        v.LogFileNo = 0;
    rt.writeLine(v.LogFileNo, QStringLiteral("Start QRNWeb session on ") + rt.currentDate()
                                  + QStringLiteral(" at ") + rt.currentTime());

    for (const QString &candidate : browserCandidates) {
        if (!rt.findFirst(rt.path(candidate)).isEmpty()) {
            v.BrowserPath = candidate;
            break;
        }
    }
    if (v.BrowserPath.isEmpty()) {
        rt.messageBox(QStringLiteral("Browser not found, Call QRN"));
        rt.endProgram();   // closes every open file, the session log included
        return;
    }

    rt.changeFolder(base);
    v.BaseDir += u'\\';

    if (rt.findFirst(base / QStringLiteral("setup.fil")).isEmpty())
        rt.messageBox(QStringLiteral("Setup Required, Click OK and then Click on Setup"));
    else
        session.setupHooks().readSetupFile(session);
    finishCutOff(session);
}

void Startup::finishCutOff(Session &session)
{
    // Not while another run of the program is sending: its submission is its own to finish.
    const OwnFolders own(session.runtime(), session.vars().BaseDir);
    std::shared_ptr<void> held;
    if (!SendHistory::cutOff(session.runtime(), own) || !PortalCommands::holdBaseFolder(session, own.base, &held).isEmpty())
        return;
    if (const QString told = SendHistory::finishCutOff(session.runtime(), own).message; !told.isEmpty())
        session.runtime().messageBox(told);
}

void Startup::unload(Session &session)
{
    session.runtime().endProgram();
}
