#pragma once

#include "runtime/DosPath.h"

class Runtime;

// QRNWeb's own folders under its base folder, each parsed once and pinned while this lives: the
// outbound folder the portal uploads, the backups, and the log with the history and the journal.
// The outbound folder and the backups are told as the history names them, "claims\" and "claimsbu\".
struct OwnFolders
{
    OwnFolders() = default;
    OwnFolders(Runtime &rt, const QString &baseFolder);

    DosPath base;   // "c:\qrn\"
    DosPath outbound;
    DosPath backups;
    DosPath log;

    DosPath history() const { return log / QStringLiteral("history.txt"); }
    DosPath journal() const { return log / QStringLiteral("sending.txt"); }
    // The outbound folder or the backups in full, as a message shows them: "c:\qrn\claims\".
    QString shown(const DosPath &folder) const { return base.text() + folder.text(); }
};
