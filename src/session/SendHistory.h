#pragma once

#include "session/ClaimRecord.h"
#include "session/SendRequest.h"

#include <QList>
#include <QString>

class Runtime;

// What went when, kept for good: "log\history.txt" under the base folder gets a line for each
// submission and for each claim file it met, and is never emptied. While a submission's portal
// is open and its claims are being taken out of the claim folder, "log\sending.txt" names them,
// so that a run cut off meanwhile is finished at the next start.
namespace SendHistory
{
    // Before the portal opens: the submission, each claim as it stands, and what the portal gets;
    // all of it on disk, or false with the reason.
    bool begin(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims, QString *error);
    // Once the claims the portal was to get are out of the claim folder, or the portal did not open:
    // how each of them ended.
    void end(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims);
    // Whether a submission was cut off after its portal opened.
    bool cutOff(Runtime &rt, const QString &baseFolder);
    // A submission whose portal opened and whose removals were cut off: the claims that are still
    // the very files it copied are taken out now. What to tell the person, or nothing.
    QString finishCutOff(Runtime &rt, const QString &baseFolder);
} // namespace SendHistory
