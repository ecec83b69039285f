#include "session/SendOutcome.h"

#include "session/MessageList.h"

namespace {

QStringList lines(const QList<ClaimRecord> &claims, bool (ClaimRecord::*which)() const)
{
    QStringList found;
    for (const ClaimRecord &claim : claims) {
        if ((claim.*which)() && claim.fate != ClaimRecord::Fate::Going)
            found << QStringLiteral("%1 (%2)").arg(claim.name, claim.why());
    }
    return found;
}

bool unsendable(const ClaimRecord &claim)
{
    return claim.fate == ClaimRecord::Fate::Unsendable;
}

bool copied(const ClaimRecord &claim)
{
    return claim.fate != ClaimRecord::Fate::Voided && !unsendable(claim);
}

} // namespace

void SendOutcome::compose()
{
    details.clear();
    switch (end) {
    case End::Refused:
        message = reason;
        return;
    case End::NoClaims: {
        message = QStringLiteral("No Claims Found to Send");
        QStringList odd;
        for (const ClaimRecord &claim : std::as_const(claims)) {
            if (unsendable(claim))
                odd << QStringLiteral("%1 (%2)").arg(claim.name, claim.why());
        }
        if (!reason.isEmpty())
            message += QStringLiteral("\n\n") + reason;
        if (!odd.isEmpty()) {
            message += QStringLiteral("\n\nThese files in the claim folder match the claim file name but cannot be sent:\n")
                + MessageList::shortened(odd, &details);
        }
        return;
    }
    case End::NotSent:
    case End::NoneGoes: {
        QString why = reason;
        if (end == End::NoneGoes) {
            QStringList kept;
            for (const ClaimRecord &claim : std::as_const(claims)) {
                if (copied(claim))
                    kept << QStringLiteral("%1 (%2)").arg(claim.name, claim.why());
            }
            why = QStringLiteral("None of the claim files could be sent:\n") + MessageList::shortened(kept, nullptr) + u'\n';
        }
        message = QStringLiteral("The claims were not sent. ") + why
            + QStringLiteral(" No claim file was removed from the claim folder.");
        return;
    }
    case End::PortalOpened:
        break;
    }
    // The claims come first, then what matched but could not be taken as a file, as a submission lists them.
    const QStringList kept = lines(claims, &ClaimRecord::stays), elsewhere = lines(claims, &ClaimRecord::removedElsewhere);
    message.clear();
    if (kept.isEmpty() && elsewhere.isEmpty())
        return;
    QString more;
    message = QStringLiteral("The portal was opened");
    if (!kept.isEmpty())
        message += QStringLiteral(", but these claim files stayed in the claim folder:\n") + MessageList::shortened(kept, &details);
    if (!elsewhere.isEmpty()) {
        message += (kept.isEmpty() ? QStringLiteral(", but") : QStringLiteral("\n\nAnd"))
            + QStringLiteral(" these claim files were removed by another program after they were copied:\n")
            + MessageList::shortened(elsewhere, &more);
    }
    details = (details + u'\n' + more).trimmed();
}
