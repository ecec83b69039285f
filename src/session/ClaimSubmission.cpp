#include "session/ClaimSubmission.h"

#include "runtime/Runtime.h"
#include "session/Addresses.h"
#include "session/PortalCommands.h"
#include "session/SendHistory.h"
#include "session/Session.h"
#include "session/SessionLog.h"
#include "session/Submission.h"

SendRequest ClaimSubmission::request(Session &session, const OwnFolders &own)
{
    const Uservar &v = session.vars();
    Runtime &rt = session.runtime();
    SendRequest request;
    request.own = own;
    // The claim folder and pattern are those start-up read; the format code is the setup window's
    // as it stands now, unsaved edits included.
    request.claims = rt.pin(rt.path(v.ClaimPath));
    request.fileSpec = v.ClaimFileSpec;
    request.format = session.setupWindow().text(SetupWindowFields::Field::Format);
    request.siteId = v.SiteId;
    request.browser = v.BrowserPath;
    request.portalAddress = PortalAddress;
    request.at = rt.host().now();
    return request;
}

SendOutcome ClaimSubmission::sendClaims(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();
    // The program's folders are looked up once for the whole submission, not once per claim.
    const OwnFolders own(rt, v.BaseDir);
    std::shared_ptr<void> held;
    SendOutcome refused;
    refused.reason = PortalCommands::holdBaseFolder(session, own.base, &held);
    if (refused.reason.isEmpty() && v.SiteId.isEmpty())
        refused.reason = QStringLiteral("Please Enter Your Site ID in Setup");
    if (refused.reason.isEmpty())
        refused.reason = PortalCommands::unsendableSiteId(session);
    if (!refused.reason.isEmpty()) {
        refused.compose();
        return refused;
    }
    // One cut off since start-up, by another run of the program, is finished before anything is
    // touched; while its record cannot be read, nothing is sent.
    const SendHistory::Finished finished = SendHistory::finishCutOff(rt, own);
    if (finished.blocked) {
        refused.reason = finished.message;
        refused.compose();
        return refused;
    }
    if (!finished.message.isEmpty())
        rt.messageBox(finished.message);

    Submission submission(rt, request(session, own));
    const SendRequest &r = submission.request();
    if (submission.prepare()) {
        SessionLog::write(session, QStringLiteral("copy ") + r.claims.text() + QStringLiteral(" to ") + r.own.outbound.text());
        if (submission.copy()) {
            SessionLog::write(session, QStringLiteral("shell to ") + r.browser);
            if (submission.openPortal())
                submission.removeWhatWasSent();
        }
    }
    rt.progress({}, 0, 0);
    SessionLog::close(session);
    SendOutcome outcome = submission.outcome();
    // The position of the first dot of the last name copied, as the outbound names were made.
    for (const ClaimRecord &claim : std::as_const(outcome.claims)) {
        if (!claim.outbound.isEmpty())
            v.ScratchIndex = qint16(claim.name.indexOf(u'.') + 1);
    }
    outcome.compose();
    return outcome;
}
