#include "session/ClaimRecord.h"

#include "runtime/Runtime.h"

void ClaimRecord::takeOut(Runtime &rt, const DosPath &path)
{
    switch (rt.deleteUnchanged(path, stamp, &detail)) {
    case Runtime::Removal::Removed:
        fate = Fate::Sent;
        break;
    case Runtime::Removal::Gone:
        fate = Fate::GoneAfterPortal;
        break;
    case Runtime::Removal::Changed:
        fate = Fate::ChangedWhileSent;
        break;
    case Runtime::Removal::Failed:
        fate = Fate::NotRemovable;
        break;
    }
}

QString ClaimRecord::why() const
{
    const QString next = QStringLiteral("; it goes with the next Send Claims");
    switch (fate) {
    case Fate::Going:
    case Fate::Sent:
    case Fate::Voided:
        return {};
    case Fate::Unsendable:
        return detail + QStringLiteral("; it cannot be sent");
    case Fate::InUse:
        return QStringLiteral("it is open in another program, which may still be writing it") + next;
    case Fate::ChangedWhileCopied:
        return QStringLiteral("it changed while it was being copied") + next;
    case Fate::AnotherName:
        return QStringLiteral("it is another name of %1, which was sent").arg(detail);
    case Fate::NameTooLong:
        return QStringLiteral("its name is too long to be sent");
    case Fate::BackupTaken:
        return QStringLiteral("another claim file of the same name took its backup copy");
    case Fate::BackupNotWhole:
        return QStringLiteral("its backup copy is no longer whole");
    case Fate::OutboundTaken:
        return QStringLiteral("another claim file with the same name before the dot took its place in the outbound folder") + next;
    case Fate::ChangedWhileSent:
        return QStringLiteral("it changed while it was being sent") + next;
    case Fate::NotRemovable:
        return QStringLiteral("it could not be removed: %1; it will be sent again unless you remove it").arg(detail);
    case Fate::StatusUnknown:
        return QStringLiteral("its status could not be read") + next;
    case Fate::NotSent:
        return detail;
    case Fate::GoneBeforePortal:
        return QStringLiteral("it was not sent; its copy is in the backup folder");
    case Fate::GoneAfterPortal:
        return QStringLiteral("its copy was sent");
    case Fate::GoneWhenFinished:
        return QStringLiteral("its copy was sent; it was no longer in the claim folder");
    case Fate::PortalUnknown:
        return QStringLiteral("its Send Claims was cut off before QRNWeb knew whether the portal opened") + next;
    }
    return {};
}
