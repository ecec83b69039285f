#include "session/SendHistory.h"

#include "runtime/Runtime.h"
#include "session/MessageList.h"

namespace {

using Fate = ClaimRecord::Fate;

QString historyOf(const QString &base)
{
    return base + QStringLiteral("log\\history.txt");
}

QString journalOf(const QString &base)
{
    return base + QStringLiteral("log\\sending.txt");
}

QString when(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString line(const SendRequest &request, const ClaimRecord &claim, const QString &state)
{
    if (claim.outbound.isEmpty() || claim.fate == Fate::Voided || !claim.stamp.exists())
        return QStringList{when(request.at), claim.name, {}, {}, {}, {}, state}.join(u'\t');
    return QStringList{when(request.at), claim.name, QStringLiteral("%1 bytes").arg(claim.stamp.size),
                       QStringLiteral("SHA-256 ") + QString::fromLatin1(claim.sha256.toHex()),
                       QStringLiteral("sent as ") + claim.outbound, QStringLiteral("kept as ") + claim.backup, state}
        .join(u'\t');
}

QString ending(const ClaimRecord &claim)
{
    switch (claim.fate) {
    case Fate::Sent:
        return QStringLiteral("sent; taken out of the claim folder");
    case Fate::Voided:
        return QStringLiteral("voided before its copy; not sent");
    case Fate::GoneBeforePortal:
    case Fate::GoneAfterPortal:
        return QStringLiteral("removed by another program: ") + claim.why();
    default:
        return QStringLiteral("stays in the claim folder: ") + claim.why();
    }
}

// All the lines in one write: one submission's lines stand together, whoever else appends.
bool append(Runtime &rt, const QString &path, const QStringList &lines, QString *error)
{
    const int number = rt.freeFile();
    const bool ok = rt.openForAppend(number, path, error) && rt.writeLine(number, lines.join(QStringLiteral("\r\n")), error);
    if (ok)
        return rt.closeFile(number, error);
    rt.closeFile(number);
    return false;
}

QString stampText(const FileAccess::Stamp &stamp)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(stamp.size).arg(stamp.modified).arg(stamp.volume).arg(stamp.file).arg(stamp.changed);
}

FileAccess::Stamp stampFrom(const QString &text)
{
    const QStringList parts = text.split(u' ');
    FileAccess::Stamp stamp;
    if (parts.size() == 5) {
        stamp = {parts[0].toLongLong(), parts[1].toLongLong(), parts[2].toULongLong(), parts[3].toULongLong(),
                 parts[4].toLongLong()};
    }
    return stamp;
}

} // namespace

bool SendHistory::begin(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims, QString *error)
{
    QStringList lines{QStringLiteral("%1\tSend Claims from %2%3 for site id %4, format code %5")
                          .arg(when(request.at), request.claimPath, request.fileSpec, request.siteId, request.format)};
    QStringList journal{when(request.at), request.claimPath};
    for (const ClaimRecord &claim : claims) {
        lines << line(request, claim, claim.going() ? QStringLiteral("to the portal") : ending(claim));
        if (claim.going())
            journal << stampText(claim.stamp) + u'\t' + claim.name + u'\t' + claim.backup;
    }
    if (!append(rt, historyOf(request.baseFolder), lines, error))
        return false;
    // The journal is on disk, whole, before the portal opens.
    const int number = rt.freeFile();
    const bool ok = rt.openForReplace(number, journalOf(request.baseFolder), error)
        && rt.writeLine(number, journal.join(QStringLiteral("\r\n")), error);
    if (ok)
        return rt.closeFile(number, error);
    rt.discardFile(number);
    return false;
}

void SendHistory::end(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims)
{
    QStringList lines;
    for (const ClaimRecord &claim : claims)
        lines << line(request, claim, ending(claim));
    // Only once the removals are on disk and the end is told may the journal go; otherwise the
    // next start finishes it.
    if (rt.syncToDisk({request.claimPath}) && append(rt, historyOf(request.baseFolder), lines, nullptr))
        rt.deleteFile(journalOf(request.baseFolder));
}

bool SendHistory::cutOff(Runtime &rt, const QString &baseFolder)
{
    return rt.stamp(journalOf(baseFolder)).exists();
}

QString SendHistory::finishCutOff(Runtime &rt, const QString &baseFolder)
{
    const QString journal = journalOf(baseFolder);
    if (!cutOff(rt, baseFolder))
        return {};
    const int number = rt.freeFile();
    QStringList lines;
    QString text;
    if (rt.openForInput(number, journal)) {
        while (!rt.atEnd(number) && rt.readLine(number, &text))
            lines << text;
        rt.closeFile(number);
    }
    if (lines.size() < 2)
        return {};
    SendRequest request;
    request.baseFolder = baseFolder;
    request.at = QDateTime::fromString(lines[0], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    request.claimPath = lines[1];
    QList<ClaimRecord> claims;
    QStringList stayed;
    QString kept;
    bool removedNow = false;
    for (const QString &entry : lines.mid(2)) {
        const QStringList parts = entry.split(u'\t');
        ClaimRecord claim{parts.value(1), QStringLiteral("-"), parts.value(2), stampFrom(parts.value(0)), Fate::Going, {}, {}};
        kept = claim.backup.left(claim.backup.lastIndexOf(u'\\') + 1);
        claim.takeOut(rt, request.claim(claim.name));
        removedNow = removedNow || claim.fate == Fate::Sent;
        if (claim.fate == Fate::GoneAfterPortal)   // most likely by the run that was cut off
            claim.fate = Fate::Sent;
        if (claim.stays())
            stayed << QStringLiteral("%1 (%2)").arg(claim.name, claim.why());
        claims << claim;
    }
    end(rt, request, claims);
    // Cut off after its removals, only its history was left to complete.
    if (!removedNow && stayed.isEmpty())
        return {};
    QString message = QStringLiteral("The Send Claims of %1 at %2 was cut off after the portal opened. Its claim files are "
                                     "out of the claim folder now; their copies are in %3claims\\ and %4%5.")
                          .arg(request.at.toString(QStringLiteral("MM-dd-yyyy")), request.at.toString(QStringLiteral("HH:mm:ss")),
                               baseFolder, baseFolder, kept);
    if (!stayed.isEmpty())
        message += QStringLiteral("\n\nThese claim files stayed in the claim folder:\n") + MessageList::shortened(stayed, nullptr);
    return message;
}
