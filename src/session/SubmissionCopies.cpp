// Send Claims' copies: each claim file into the backup and the outbound folder, on disk, and
// checked before the portal opens.
#include "session/Submission.h"

namespace {

using Fate = ClaimRecord::Fate;

} // namespace

bool Submission::copy()
{
    // A folder of this submission's own for the backups, never one an earlier submission kept.
    QString error;
    const QString kept = m_request.keptFolder();
    for (int n = 1; !m_rt.makeFolder(m_kept = kept + (n > 1 ? QStringLiteral(" %1").arg(n) : QString()), &error); ++n) {
        if (n == 99 || m_rt.stamp(m_kept).unknown)
            return notSent(QStringLiteral("The backup folder %1 could not be made: %2.").arg(m_kept, error));
    }
    m_kept += u'\\';
    for (qsizetype i = 0; i < claims().size(); ++i) {
        claims()[i].backup = m_kept + claims()[i].name;
        m_rt.progress(QStringLiteral("Copying claim %1 of %2").arg(i + 1).arg(claims().size()), i, claims().size());
        if (claims()[i].going() && !copyOne(i))
            return false;
    }
    for (qsizetype i = 0; i < claims().size(); ++i) {
        if (claims()[i].going() && m_backupOwner.value(claims()[i].backup.toCaseFolded()) == i)
            keepNewest(claims()[i]);
    }
    return flush() && keepWhatChanged();
}

// The claim's kept copy becomes the newest of its name as well. An earlier newest that is no kept
// copy (made before backups were kept) is kept aside first: no backup is ever replaced.
void Submission::keepNewest(ClaimRecord &claim)
{
    const QString newest = m_request.newestBackupOf(claim.name);
    QString error;
    if (m_rt.linkFile(claim.backup, newest, &error))
        return;
    if (const Runtime::Stamp earlier = m_rt.stamp(newest); earlier.exists()) {
        bool moved = earlier.links > 1 && m_rt.deleteFile(newest, &error);   // a second name of a kept copy
        if (earlier.links <= 1) {
            const QString aside = m_request.backupFolder + QStringLiteral("earlier\\");
            m_rt.makeFolder(aside);
            for (int n = 1; !moved && n < 100; ++n)
                moved = m_rt.renameFile(newest, aside + (n > 1 ? QStringLiteral("%1 ").arg(n) : QString()) + claim.name, &error);
        }
        if (!moved) {
            claim.fate = Fate::BackupNotKept;
            claim.detail = error;
            return;
        }
        if (m_rt.linkFile(claim.backup, newest, &error))
            return;
    }
    // A file system without links: a copy of its own, never over a file that is there.
    if (!m_rt.stamp(newest).exists() && m_rt.copyFile(claim.backup, {newest}, &error))
        return;
    claim.fate = Fate::BackupNotKept;
    claim.detail = error;
}

// A copy counts only when the target holds every byte the claim file had when it was opened.
// A claim file that changes meanwhile (the practice software still writing it) stays.
bool Submission::copyOne(qsizetype index)
{
    ClaimRecord &claim = claims()[index];
    // No file system of either system holds a name of more than 255 characters (or UTF-8 bytes).
    const QString outboundName = claim.outbound.mid(m_request.outboundFolder.size());
    if (outboundName.size() > 255 || outboundName.toUtf8().size() > 255) {
        claim.fate = Fate::NameTooLong;
        return true;
    }
    const QStringList targets = {claim.backup, claim.outbound};
    m_written << claim.outbound;
    QString error;
    Runtime::Copy copy;
    if (!m_rt.copyFile(m_request.claim(claim.name), targets, &error, &copy)) {
        // What another program does to one claim meanwhile keeps that claim alone out of the
        // submission: voided, it is no part of it; held open, it waits for the next one.
        using Cause = Runtime::Copy::Cause;
        if (copy.cause == Cause::SourceGone || copy.cause == Cause::SourceInUse) {
            claim.fate = copy.cause == Cause::SourceGone ? Fate::Voided : Fate::InUse;
            return true;
        }
        return notSent(QStringLiteral("%1 could not be copied to %2: %3.").arg(claim.name, targets.value(copy.failed), error));
    }
    claim.stamp = copy.source;
    claim.sha256 = copy.sha256;
    if (copy.changed()) {
        claim.fate = Fate::ChangedWhileCopied;
    } else {
        for (qsizetype i = 0; i < targets.size(); ++i) {
            if (copy.bytes.at(i) != copy.source.size)
                return notSent(QStringLiteral("%1 could not be copied to %2: the copy is incomplete.").arg(claim.name, targets.at(i)));
        }
    }
    // Two names for one file (a link): it goes once, under the first of them.
    const qsizetype first = m_fileOwner.value({copy.source.volume, copy.source.file}, index);
    if (first != index && claim.going()) {
        claim.fate = Fate::AnotherName;
        claim.detail = claims()[first].name;
    }
    m_fileOwner.insert({copy.source.volume, copy.source.file}, first);
    m_backupOwner.insert(claim.backup.toCaseFolded(), index);
    // Several claim files may share one outbound name: only the last copy is there to be sent.
    const qsizetype replaced = m_outboundOwner.value(claim.outbound.toCaseFolded(), -1);
    if (replaced >= 0 && claims()[replaced].going())
        claims()[replaced].fate = Fate::OutboundTaken;
    m_outboundOwner.insert(claim.outbound.toCaseFolded(), index);
    return true;
}

bool Submission::flush()
{
    QString error;
    if (m_rt.syncToDisk({m_request.outboundFolder, m_request.backupFolder}, &error))
        return true;
    return notSent(QStringLiteral("The copies could not be written to disk: %1.").arg(error));
}

// Checked before the portal opens, so that the outbound folder holds only what may be uploaded.
bool Submission::keepWhatChanged()
{
    bool anyGoes = false, anyCopied = false;
    for (qsizetype i = 0; i < claims().size(); ++i) {
        ClaimRecord &claim = claims()[i];
        if (claim.fate == Fate::Voided || claim.fate == Fate::Unsendable)
            continue;
        anyCopied = true;
        if (claim.going()) {
            const Runtime::Stamp now = m_rt.stamp(m_request.claim(claim.name));
            if (now.unknown)
                claim.fate = Fate::StatusUnknown;
            else if (!now.exists())
                claim.fate = Fate::GoneBeforePortal;
            else if (now != claim.stamp)
                claim.fate = Fate::ChangedWhileCopied;
            else if (m_backupOwner.value(claim.backup.toCaseFolded()) != i)
                claim.fate = Fate::BackupTaken;
            else if (m_rt.stamp(claim.backup).size != claim.stamp.size)
                claim.fate = Fate::BackupNotWhole;
        }
        // A claim that stays takes its outbound copy back, unless that copy is another claim's.
        if (!claim.going() && m_outboundOwner.value(claim.outbound.toCaseFolded()) == i)
            m_rt.deleteFile(claim.outbound);
        anyGoes = anyGoes || claim.going();
    }
    if (anyGoes)
        return true;
    // Every claim was taken away before it could be copied, or none of them can go.
    if (!anyCopied)
        return end(SendOutcome::End::NoClaims);
    notSent({});
    return end(SendOutcome::End::NoneGoes);
}
