#pragma once

#include "session/ClaimRecord.h"
#include "session/SendRequest.h"

#include <QList>
#include <QString>

class Runtime;

// What went when, kept for good: "log\history.txt" under the base folder gets a line for each
// submission and for each claim file it met, and for each time the portal opened on the outbound
// folder; it is never emptied. While a submission's portal is opening and its claims are being taken
// out of the claim folder, "log\sending.txt" names them, so that a run cut off meanwhile is finished
// at the next start. Both are UTF-8 with a byte-order mark; a field's tab, line break or other control
// character is written %XX (its code in hexadecimal), and so is a % that would read as such a code.
namespace SendHistory
{
    // Before the portal opens: the submission, each claim as it stands, and what the portal gets;
    // all of it on disk, or false with what could not be written and why.
    bool begin(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims, QString *error);
    // Once the browser has started: on disk, so that a run cut off from now on is finished as one
    // whose portal opened.
    bool portalOpened(Runtime &rt, const SendRequest &request, QString *error = nullptr);
    // Once the claims the portal was to get are out of the claim folder, or the portal did not open:
    // how each of them ended.
    void end(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims);
    // Whether a submission was cut off: its journal, or something in the journal's place, is there.
    bool cutOff(Runtime &rt, const OwnFolders &own);

    struct Finished
    {
        QString message;        // what to tell the person, or nothing
        bool blocked = false;   // the journal cannot be read: nothing may be sent while it is there
    };
    // A submission cut off once its portal opened: the claims that are still the very files it copied
    // are taken out now. One cut off before the portal was known to be open leaves its claims where
    // they are. A journal that cannot be read is kept, and named.
    Finished finishCutOff(Runtime &rt, const OwnFolders &own);

    // Get Reports and Resend Claims: what the outbound folder held as the portal opened on it.
    void portalOnOutbound(Runtime &rt, const OwnFolders &own, const QString &command, const QDateTime &at,
                          const QString &siteId);
} // namespace SendHistory
