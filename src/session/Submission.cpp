// Send Claims' copies: each claim file into the backup and the outbound folder, on disk, and
// checked before the portal opens.
#include "session/Submission.h"

#include "session/MessageList.h"

bool Submission::copyEach()
{
    for (qsizetype i = 0; i < m_claims.size(); ++i) {
        Claim &claim = m_claims[i];
        m_v.ScratchIndex = qint16(claim.name.indexOf(u'.') + 1);
        const QString base = m_v.ScratchIndex < 1 ? claim.name : claim.name.left(m_v.ScratchIndex - 1);
        claim.outbound = outboundFolder + base + u'.' + m_format;
        if (!copyOne(claim, i))
            return false;
    }
    return true;
}

// A copy counts only when the target holds every byte the claim file had when it was opened.
// A claim file that changes meanwhile (the practice software still writing it) stays.
bool Submission::copyOne(Claim &claim, qsizetype index)
{
    // No file system of either system holds a name of more than 255 characters (or UTF-8 bytes).
    const QString outboundName = claim.outbound.mid(outboundFolder.size());
    if (outboundName.size() > 255 || outboundName.toUtf8().size() > 255) {
        claim.kept = QStringLiteral("its name is too long to be sent");
        return true;
    }
    const QStringList targets = {backupFolder + claim.name, claim.outbound};
    m_written << claim.outbound;
    QString error;
    Runtime::Copy copy;
    if (!m_rt.copyFile(source(claim), targets, &error, &copy)) {
        // What another program does to one claim meanwhile keeps that claim alone out of the
        // submission: voided, it is no part of it; held open, it waits for the next one.
        using Cause = Runtime::Copy::Cause;
        claim.dropped = copy.cause == Cause::SourceGone;
        if (copy.cause == Cause::SourceInUse)
            claim.kept = QStringLiteral("it is open in another program, which may still be writing it; it goes with the next "
                                        "Send Claims");
        if (claim.dropped || !claim.kept.isEmpty())
            return true;
        notSent(QStringLiteral("%1 could not be copied to %2: %3.").arg(claim.name, targets.value(copy.failed), error));
        return false;
    }
    claim.stamp = copy.source;
    if (copy.changed()) {
        claim.kept = QStringLiteral("it changed while it was being copied; it goes with the next Send Claims");
    } else {
        for (qsizetype i = 0; i < targets.size(); ++i) {
            if (copy.bytes.at(i) != copy.source.size) {
                notSent(QStringLiteral("%1 could not be copied to %2: the copy is incomplete.").arg(claim.name, targets.at(i)));
                return false;
            }
        }
    }
    // Two names for one file (a link): it goes once, under the first of them.
    const qsizetype first = m_fileOwner.value({copy.source.volume, copy.source.file}, index);
    if (first != index && claim.kept.isEmpty())
        claim.kept = QStringLiteral("it is another name of %1, which was sent").arg(m_claims[first].name);
    m_fileOwner.insert({copy.source.volume, copy.source.file}, first);
    m_backupOwner.insert(claim.name.toCaseFolded(), index);
    // Several claim files may share one outbound name: only the last copy is there to be sent.
    const qsizetype replaced = m_outboundOwner.value(claim.outbound.toCaseFolded(), -1);
    if (replaced >= 0 && m_claims[replaced].kept.isEmpty())
        m_claims[replaced].kept = QStringLiteral("another claim file with the same name before the dot took its place "
                                                 "in the outbound folder; it goes with the next Send Claims");
    m_outboundOwner.insert(claim.outbound.toCaseFolded(), index);
    return true;
}

bool Submission::flush()
{
    QString error;
    if (m_rt.syncToDisk({outboundFolder, backupFolder}, &error))
        return true;
    notSent(QStringLiteral("The copies could not be written to disk: %1.").arg(error));
    return false;
}

// Checked before the portal opens, so that the outbound folder holds only what may be uploaded.
bool Submission::keepWhatChanged()
{
    bool anyGoes = false;
    QStringList lines;
    for (qsizetype i = 0; i < m_claims.size(); ++i) {
        Claim &claim = m_claims[i];
        if (claim.dropped)
            continue;
        const Runtime::Stamp now = m_rt.stamp(source(claim));
        claim.elsewhere = claim.kept.isEmpty() && !now.exists();
        if (claim.elsewhere)
            claim.kept = QStringLiteral("it was not sent; its copy is in the backup folder");
        if (claim.kept.isEmpty() && now != claim.stamp)
            claim.kept = QStringLiteral("it changed while it was being copied; it goes with the next Send Claims");
        if (claim.kept.isEmpty() && m_backupOwner.value(claim.name.toCaseFolded()) != i)
            claim.kept = QStringLiteral("another claim file of the same name took its backup copy");
        if (claim.kept.isEmpty() && m_rt.stamp(backupFolder + claim.name).size != claim.stamp.size)
            claim.kept = QStringLiteral("its backup copy is no longer whole");
        // A claim that stays takes its outbound copy back, unless that copy is another claim's.
        if (!claim.kept.isEmpty() && m_outboundOwner.value(claim.outbound.toCaseFolded()) == i)
            m_rt.deleteFile(claim.outbound);
        anyGoes = anyGoes || claim.kept.isEmpty();
        lines << QStringLiteral("%1 (%2)").arg(claim.name, claim.kept);
    }
    if (anyGoes)
        return true;
    if (lines.isEmpty()) {
        // Every claim was taken away before it could be copied.
        refuse(QStringLiteral("No Claims Found to Send"));
        return false;
    }
    notSent(QStringLiteral("None of the claim files could be sent:\n") + MessageList::shortened(lines, nullptr)
            + u'\n');
    return false;
}
