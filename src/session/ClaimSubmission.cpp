#include "session/ClaimSubmission.h"

#include "runtime/Runtime.h"
#include "session/Addresses.h"
#include "session/Session.h"
#include "session/SessionLog.h"
#include "windows/Form3.h"

#include <QHash>
#include <QLineEdit>

namespace {

const QString outboundFolder = QStringLiteral("claims\\");
const QString backupFolder = QStringLiteral("claimsbu\\");

struct Taken
{
    QString name;
    Runtime::Stamp stamp;   // as it was before it was copied
};

// A copy counts only when the target holds as many bytes as the claim file had. A claim file that
// changes meanwhile (the practice software still writing it) is caught before it is removed.
bool copyWhole(Runtime &rt, const QString &from, const QString &to, const Runtime::Stamp &before, QString *error)
{
    if (!rt.copyFile(from, to, error))
        return false;
    if (rt.stamp(to).size != before.size && rt.stamp(from) == before) {
        *error = QStringLiteral("the copy is incomplete");
        return false;
    }
    return true;
}

void notSent(Session &session, const QString &reason)
{
    session.runtime().messageBox(QStringLiteral("The claims were not sent. ") + reason
                                 + QStringLiteral(" No claim file was removed from the claim folder."));
    SessionLog::close(session);
}

} // namespace

void ClaimSubmission::sendClaims(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();

    if (v.SiteId.isEmpty()) {
        rt.messageBox(QStringLiteral("Please Enter Your Site ID in Setup"));
        return;
    }
    const QString claimPattern = v.ClaimPath + v.ClaimFileSpec;
    QString name = rt.findFirst(claimPattern);
    if (name.isEmpty()) {
        rt.messageBox(QStringLiteral("No Claims Found to Send"));
        SessionLog::close(session);
        return;
    }
    // Emptying the outbound folder, or copying onto the backups, would destroy the claims themselves.
    if (rt.sameFolder(v.ClaimPath, outboundFolder) || rt.sameFolder(v.ClaimPath, backupFolder)) {
        notSent(session, QStringLiteral("The claim folder %1 is one of QRNWeb's own folders; choose the folder of "
                                        "your practice software in Setup.").arg(v.ClaimPath));
        return;
    }

    rt.deleteFiles(outboundFolder + QStringLiteral("*.*"));
    // A file of an earlier submission that could not be removed would be uploaded a second time.
    const QStringList stale = rt.findAll(outboundFolder + QStringLiteral("*.*"));
    if (!stale.isEmpty()) {
        notSent(session, QStringLiteral("The outbound folder still holds %1 from an earlier submission, which could not "
                                        "be removed and would be sent again.").arg(stale.join(QStringLiteral(", "))));
        return;
    }
    SessionLog::write(session, QStringLiteral("copy ") + v.ClaimPath + QStringLiteral(" to ") + outboundFolder);

    QList<Taken> taken;
    QHash<QString, qsizetype> backupOwner;   // backup name, case folded -> the claim file it holds
    QStringList written;
    while (!name.isEmpty()) {
        v.ScratchIndex = qint16(name.indexOf(u'.') + 1);
        const QString base = v.ScratchIndex < 1 ? name : name.left(v.ScratchIndex - 1);
        const QString source = v.ClaimPath + name;
        Taken claim{name, rt.stamp(source)};

        QString error;
        const QString backup = backupFolder + name;
        if (!copyWhole(rt, source, backup, claim.stamp, &error)) {
            notSent(session, QStringLiteral("%1 could not be copied to %2: %3.").arg(name, backup, error));
            return;
        }
        const QString format = session.setupWindow().SftwrFormatText()->text();
        const QString outbound = outboundFolder + base + u'.' + format;
        if (!copyWhole(rt, source, outbound, claim.stamp, &error)) {
            notSent(session, QStringLiteral("%1 could not be copied to %2: %3.").arg(name, outbound, error));
            return;
        }
        written << backup << outbound;
        backupOwner.insert(name.toCaseFolded(), taken.size());
        taken << claim;
        name = rt.findNext();
    }

    QString error;
    if (!rt.syncToDisk(written, &error)) {
        notSent(session, QStringLiteral("The copies could not be written to disk: %1.").arg(error));
        return;
    }

    SessionLog::write(session, QStringLiteral("shell to ") + v.BrowserPath);
    if (!rt.startProgram(v.BrowserPath, PortalAddress + v.SiteId, &error)) {
        notSent(session, QStringLiteral("The browser %1 could not be started: %2. The copies stay in the outbound "
                                        "folder.").arg(v.BrowserPath, error));
        return;
    }

    QStringList kept;
    for (qsizetype i = 0; i < taken.size(); ++i) {
        const Taken &claim = taken.at(i);
        const QString source = v.ClaimPath + claim.name;
        if (rt.stamp(source) != claim.stamp)
            kept << claim.name + QStringLiteral(" (it changed while it was being copied)");
        else if (backupOwner.value(claim.name.toCaseFolded()) != i)
            kept << claim.name + QStringLiteral(" (another claim file of the same name took its backup copy)");
        else if (rt.stamp(backupFolder + claim.name).size != claim.stamp.size)
            kept << claim.name + QStringLiteral(" (its backup copy is no longer whole)");
        else if (!rt.deleteFile(source, &error))
            kept << claim.name + QStringLiteral(" (it could not be removed: %1; it will be sent again unless "
                                                "you remove it)").arg(error);
    }
    SessionLog::close(session);
    if (!kept.isEmpty()) {
        rt.messageBox(QStringLiteral("The portal was opened, but these claim files stayed in the claim folder and "
                                     "go with the next Send Claims:\n") + kept.join(u'\n'));
    }
}
