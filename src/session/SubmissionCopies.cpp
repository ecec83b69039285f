// Send Claims' copies: each claim file into the backup and the outbound folder, on disk, and
// checked before the portal opens.
#include "session/Submission.h"

#include <algorithm>

namespace {

using Fate = ClaimRecord::Fate;

const QString earlierFolder = QStringLiteral("earlier");

// The program's own names in the backup folder: a claim of such a name keeps no newest copy there.
bool isOwnBackupName(const QString &name)
{
    return name.compare(earlierFolder, Qt::CaseInsensitive) == 0 || SendRequest::keptFolderName().match(name).hasMatch();
}

} // namespace

bool Submission::copy()
{
    // A folder of this submission's own for the backups, never one an earlier submission kept.
    QString error;
    const QString kept = m_request.keptFolder();
    for (int n = 1; !m_rt.makeFolder(m_kept = m_request.own.backups / (kept + (n > 1 ? QStringLiteral(" %1").arg(n) : QString())), &error);
         ++n) {
        if (n == 99 || m_rt.stamp(m_kept).unknown())
            return notSent(QStringLiteral("The backup folder %1 could not be made: %2.").arg(m_kept.text(), error));
    }
    m_kept = m_rt.pin(m_kept);
    for (qsizetype i = 0; i < claims().size(); ++i) {
        claims()[i].backup = m_kept / claims()[i].name;
        m_rt.progress(QStringLiteral("Copying claim %1 of %2"), i, claims().size());
        if (claims()[i].going() && !copyOne(i))
            return false;
    }
    for (qsizetype i = 0; i < claims().size(); ++i) {
        if (claims()[i].going() && m_backupOwner.value(FoldedName(claims()[i].name)) == i)
            keepNewest(claims()[i]);
    }
    return flush() && keepWhatChanged();
}

// The claim's kept copy becomes the newest of its name as well: a second name of it, or a copy of it
// where the file system has no links. What is there under that name goes only when it is a second
// name or a copy of an earlier kept copy; an only copy (made before backups were kept) is set aside
// first. No backup is ever replaced, and the claim goes even when no newest name could be made: its
// kept copy is its backup.
void Submission::keepNewest(const ClaimRecord &claim)
{
    if (isOwnBackupName(claim.name))
        return;
    const DosPath newest = m_request.newestBackupOf(claim.name);
    if (m_rt.linkFile(claim.backup, newest))
        return;
    const Runtime::Stamp there = m_rt.stamp(newest);
    if (there.unknown() || (!there.exists() && m_rt.isReadableFolder(newest)))
        return;
    if (there.exists()) {
        const bool copy = there.links > 1 || isLatestKeptCopy(claim.name, newest);
        if (!(copy ? m_rt.deleteFile(newest) : setAside(newest, claim.name)) || m_rt.linkFile(claim.backup, newest))
            return;
    }
    m_rt.copyFile(claim.backup, {newest});
}

// Whether a file holds what the latest earlier kept copy of this name holds.
bool Submission::isLatestKeptCopy(const QString &name, const DosPath &file)
{
    if (!m_earlierKept) {
        m_earlierKept.emplace();
        const auto key = [](const QString &folder) {
            const QRegularExpressionMatch m = SendRequest::keptFolderName().match(folder);
            return std::pair(m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt());
        };
        const QString own = m_kept.names().last();
        for (const QString &folder : m_rt.subfolders(m_request.own.backups)) {
            if (folder != own && SendRequest::keptFolderName().match(folder).hasMatch())
                m_earlierKept->append(folder);
        }
        std::sort(m_earlierKept->begin(), m_earlierKept->end(), [&](const QString &a, const QString &b) { return key(a) > key(b); });
    }
    for (const QString &folder : std::as_const(*m_earlierKept)) {
        const DosPath kept = m_request.own.backups / folder / name;
        if (m_rt.stamp(kept).exists()) {
            qint64 size = 0, keptSize = 0;
            const QByteArray digest = m_rt.digest(file, &size);
            return !digest.isEmpty() && digest == m_rt.digest(kept, &keptSize) && size == keptSize;
        }
    }
    return false;
}

bool Submission::setAside(const DosPath &file, const QString &name)
{
    const DosPath aside = m_request.own.backups / earlierFolder;
    m_rt.makeFolder(aside);
    for (int n = 1; n < 100; ++n) {
        if (m_rt.renameFile(file, aside / ((n > 1 ? QStringLiteral("%1 ").arg(n) : QString()) + name)))
            return true;
    }
    return false;
}

// A copy counts only when the target holds every byte the claim file had when it was opened.
// A claim file that changes meanwhile (the practice software still writing it) stays.
bool Submission::copyOne(qsizetype index)
{
    ClaimRecord &claim = claims()[index];
    // No file system of either system holds a name of more than 255 characters (or UTF-8 bytes).
    const QString outboundName = claim.outbound.names().last();
    if (outboundName.size() > 255 || outboundName.toUtf8().size() > 255) {
        claim.fate = Fate::NameTooLong;
        return true;
    }
    const QList<DosPath> targets = {claim.backup, claim.outbound};
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
        return notSent(QStringLiteral("%1 could not be copied to %2: %3.").arg(claim.name, targets.value(copy.failed).text(), error));
    }
    claim.stamp = copy.source;
    claim.sha256 = copy.sha256;
    if (copy.changed()) {
        claim.fate = Fate::ChangedWhileCopied;
    } else {
        for (qsizetype i = 0; i < targets.size(); ++i) {
            if (copy.bytes.at(i) != copy.source.size)
                return notSent(QStringLiteral("%1 could not be copied to %2: the copy is incomplete.").arg(claim.name, targets.at(i).text()));
        }
    }
    // Two names for one file (a link): it goes once, under the first of them.
    const qsizetype first = m_fileOwner.value({copy.source.volume, copy.source.file}, index);
    if (first != index && claim.going()) {
        claim.fate = Fate::AnotherName;
        claim.detail = claims()[first].name;
    }
    m_fileOwner.insert({copy.source.volume, copy.source.file}, first);
    m_backupOwner.insert(FoldedName(claim.name), index);
    // Several claim files may share one outbound name: only the last copy is there to be sent.
    const qsizetype replaced = m_outboundOwner.value(FoldedName(outboundName), -1);
    if (replaced >= 0 && claims()[replaced].going())
        claims()[replaced].fate = Fate::OutboundTaken;
    m_outboundOwner.insert(FoldedName(outboundName), index);
    return true;
}

bool Submission::flush()
{
    QString error;
    if (m_rt.syncToDisk({m_request.own.outbound, m_request.own.backups}, &error))
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
            if (now.unknown())
                claim.fate = Fate::StatusUnknown;
            else if (!now.exists())
                claim.fate = Fate::GoneBeforePortal;
            else if (now != claim.stamp)
                claim.fate = Fate::ChangedWhileCopied;
            else if (m_backupOwner.value(FoldedName(claim.name)) != i)
                claim.fate = Fate::BackupTaken;
            else if (m_rt.stamp(claim.backup).size != claim.stamp.size)
                claim.fate = Fate::BackupNotWhole;
        }
        // A claim that stays takes its outbound copy back, unless that copy is another claim's.
        if (!claim.going() && m_outboundOwner.value(FoldedName(claim.outbound.names().last())) == i)
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
