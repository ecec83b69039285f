#pragma once

#include "session/ClaimRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What one Send Claims did: how it ended, a record of each claim file it met, and what to tell
// the person. The caller shows the message.
struct SendOutcome
{
    enum class End {
        Refused,        // before any claim was looked at, or nothing fit to send (reason: the message)
        NoClaims,       // nothing matched, or everything was voided before its copy
        NotSent,        // stopped before the portal (reason: why); nothing removed
        NoneGoes,       // every claim had to stay
        PortalOpened,
    };

    End end = End::Refused;
    QString reason;
    QList<ClaimRecord> claims;   // the claim files in name order, then the entries that cannot be sent
    QString message;   // empty: nothing to tell
    QString details;

    bool portalOpened() const { return end == End::PortalOpened; }
    QStringList names(const std::function<bool(const ClaimRecord &)> &which) const
    {
        QStringList found;
        for (const ClaimRecord &claim : claims) {
            if (which(claim))
                found << claim.name;
        }
        return found;
    }
    QStringList sent() const { return names([](const ClaimRecord &c) { return c.fate == ClaimRecord::Fate::Sent; }); }
    QStringList stayed() const { return names(&ClaimRecord::stays); }
    QStringList removedElsewhere() const { return names(&ClaimRecord::removedElsewhere); }

    // The message and its details, from how it ended and the records.
    void compose();
};
