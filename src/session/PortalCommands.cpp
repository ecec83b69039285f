#include "session/PortalCommands.h"

#include "runtime/Runtime.h"
#include "session/Addresses.h"
#include "session/SendHistory.h"
#include "session/Session.h"
#include "session/SessionLog.h"
#include "session/TextCase.h"

namespace {

bool startBrowser(Session &session, const QString &address)
{
    Runtime &rt = session.runtime();
    QString error;
    if (rt.startProgram(rt.path(session.vars().BrowserPath), address, &error))
        return true;
    rt.messageBox(QStringLiteral("The browser %1 could not be started: %2.").arg(session.vars().BrowserPath, error));
    return false;
}

// Get Reports, and Resend Claims once confirmed. The portal opens on the outbound folder and may
// upload it: what it held goes into the history under the command's name.
void openPortalOn(Session &session, const QString &command)
{
    // The portal uploads what the outbound folder holds: not while another run fills it.
    Runtime &rt = session.runtime();
    const OwnFolders own(rt, session.vars().BaseDir);
    std::shared_ptr<void> held;
    QString refusal = PortalCommands::holdBaseFolder(session, own.base, &held);
    if (refusal.isEmpty())
        refusal = PortalCommands::unsendableSiteId(session);
    if (!refusal.isEmpty()) {
        rt.messageBox(refusal);
        return;
    }
    const Uservar &v = session.vars();
    if (startBrowser(session, PortalAddress + v.SiteId))
        SendHistory::portalOnOutbound(rt, own, command, rt.host().now(), v.SiteId);
    SessionLog::close(session);
}

} // namespace

QString PortalCommands::unsendableSiteId(Session &session)
{
    if (!TextCase::holdsControlCharacter(session.vars().SiteId))
        return {};
    return QStringLiteral("The site id holds a character that cannot be sent. Please correct the site id in Setup.");
}

QString PortalCommands::holdBaseFolder(Session &session, const DosPath &base, std::shared_ptr<void> *held)
{
    bool busy = false;
    *held = session.runtime().lock(base, &busy);
    if (!busy)
        return {};
    return QStringLiteral("QRNWeb is already sending claims on this computer; try again when it has finished.");
}

void PortalCommands::getReports(Session &session)
{
    openPortalOn(session, QStringLiteral("Get Reports"));
}

void PortalCommands::resendClaims(Session &session)
{
    const Host::Answer answer = session.runtime().messageBox(
        QStringLiteral("Check with QRN before executing this command. It could result in a duplicate file of claims "
                       "being sent. Click Yes to continue."),
        Host::Buttons::YesNo);
    if (answer == Host::Answer::No)
        return;
    openPortalOn(session, QStringLiteral("Resend Claims"));
}

void PortalCommands::webSite(Session &session)
{
    startBrowser(session, WebSiteAddress);
}

void PortalCommands::setup(Session &session)
{
    session.mainWindow().hideWindow();
    session.setupWindow().showWindow();
}

void PortalCommands::exit(Session &session)
{
    // Ending the program closes every open file first, the session log included.
    session.runtime().endProgram();
}
