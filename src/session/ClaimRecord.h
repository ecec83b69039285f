#pragma once

#include "runtime/DosPath.h"
#include "runtime/FileAccess.h"

class Runtime;

#include <QString>

// One claim file that a Send Claims met, and what became of it.
struct ClaimRecord
{
    enum class Fate {
        Going,               // copied so far; nothing is wrong with it yet
        Sent,                // left for the portal and taken out of the claim folder
        Voided,              // gone before it was copied: no part of the submission
        Unsendable,          // matches, but cannot be taken as a plain file (detail: why)
        InUse,               // another program has it open
        ChangedWhileCopied,
        AnotherName,         // another name of a claim sent (detail: that claim)
        NameTooLong,
        BackupTaken,         // another claim of the same name took its backup
        BackupNotWhole,
        OutboundTaken,       // another claim took its outbound name
        ChangedWhileSent,
        NotRemovable,        // detail: the error
        StatusUnknown,       // its status could not be read before the portal opened
        NotSent,             // the submission stopped (detail: why)
        GoneBeforePortal,    // removed by another program once copied; its copy was taken back
        GoneAfterPortal,     // removed by another program once its copy was left for the portal
        GoneWhenFinished,    // sent, and no longer in the claim folder when a cut-off run was finished
        PortalUnknown,       // its run was cut off before the portal was known to be open: it stays
    };

    QString name;
    DosPath outbound;           // its outbound copy, "claims\ECLAIM.X12"
    DosPath backup;             // its backup copy
    FileAccess::Stamp stamp;    // as it was when it was copied
    Fate fate = Fate::Going;
    QString detail;
    QByteArray sha256;          // of what was copied

    bool going() const { return fate == Fate::Going; }
    bool removedElsewhere() const { return fate == Fate::GoneBeforePortal || fate == Fate::GoneAfterPortal; }
    // Still in the claim folder when the submission ends.
    bool stays() const { return fate != Fate::Sent && fate != Fate::Voided && fate != Fate::GoneWhenFinished && !removedElsewhere(); }
    // Its copy was left in the outbound folder for a portal that opened.
    bool wentToPortal() const { return fate == Fate::Sent || fate == Fate::GoneAfterPortal || fate == Fate::GoneWhenFinished; }
    // Why it stays, or what became of it, as the message says it.
    QString why() const;
    // Takes the claim file, at path, out of the claim folder if it is still the very file copied;
    // its fate says how that went.
    void takeOut(Runtime &rt, const DosPath &path);
};
