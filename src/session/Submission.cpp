#include "session/Submission.h"

#include "session/SendHistory.h"
#include "session/TextCase.h"

#include <algorithm>

namespace {

using Fate = ClaimRecord::Fate;

// The format code becomes a file name's extension: it may not lead into another folder, hold a
// wildcard, or hold anything a Windows file name cannot.
bool isPlainExtension(const QString &code)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|.");
    return !TextCase::holdsControlCharacter(code)
        && std::none_of(code.cbegin(), code.cend(), [](QChar c) { return forbidden.contains(c); });
}

} // namespace

bool Submission::prepare()
{
    const SendRequest &r = m_request;
    if (r.fileSpec.contains(u'\\') || r.fileSpec.contains(u'/') || r.fileSpec.contains(u':')) {
        return end(SendOutcome::End::Refused, QStringLiteral("The claims were not sent. The claim file name %1 holds a folder; "
                                                             "choose the folder in Setup and enter only the file name or pattern.")
                                                  .arg(r.fileSpec));
    }
    QList<Runtime::Odd> odd;
    QString unreadable;
    m_rt.progress(QStringLiteral("Reading the claim folder"), 0, 1);
    const QStringList names = m_rt.findAll(r.claim(r.fileSpec), &odd, &unreadable);
    if (!unreadable.isEmpty())
        return notSent(QStringLiteral("The claim folder %1 could not be read: %2.").arg(r.claims.text(), unreadable));
    for (const QString &name : names)
        claims().append({name, r.outboundOf(name), {}, {}, Fate::Going, {}, {}});
    for (const Runtime::Odd &entry : std::as_const(odd))
        claims().append({entry.shown, {}, {}, {}, Fate::Unsendable, entry.reason, {}});
    if (names.isEmpty()) {
        // Saved as some presets fill it, the folder still holds the catalogue's placeholders.
        if (r.claims.text().contains(u'?') && !m_rt.isReadableFolder(r.claims)) {
            return end(SendOutcome::End::NoClaims, QStringLiteral("The claim folder %1 holds placeholder characters (?); choose "
                                                                  "the folder where your software saves the claim file in Setup.")
                                                       .arg(r.claims.text()));
        }
        return end(SendOutcome::End::NoClaims);
    }
    m_rt.progress(QStringLiteral("Emptying the outbound folder"), 0, 1);
    return checkFolders() && emptyOutboundFolder();
}

bool Submission::checkFolders()
{
    const SendRequest &r = m_request;
    // The outbound and backup folders and the base folder are three folders, however linked: one
    // emptied, or copied onto, would otherwise destroy another's files.
    const DosPath own[] = {r.own.outbound, r.own.backups, r.own.base};
    const QString shown[] = {r.own.shown(r.own.outbound), r.own.shown(r.own.backups), r.own.base.text()};
    for (int i = 0; i < 3; ++i) {
        if (!m_rt.isReadableFolder(own[i]))
            return notSent(QStringLiteral("QRNWeb's folder %1 is missing or is not a folder.").arg(shown[i]));
    }
    // Whether two folders are one cannot always be told (a share that drops for a moment): then
    // they are not taken for two.
    QString unknown;
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (m_rt.sameFolder(own[i], own[j], &unknown))
                return notSent(QStringLiteral("QRNWeb's folders %1 and %2 are one folder; they must be apart.").arg(shown[i], shown[j]));
            if (!unknown.isEmpty()) {
                return notSent(QStringLiteral("QRNWeb could not tell whether its folders %1 and %2 are one folder: %3.")
                                   .arg(shown[i], shown[j], unknown));
            }
        }
    }
    // Emptying the outbound folder, copying onto the backups or sending the program's own setup
    // and log would destroy the claims or the program's own files.
    for (const DosPath &folder : {r.own.outbound, r.own.backups, r.own.base, r.own.log, r.own.base / QStringLiteral("reports")}) {
        if (m_rt.sameFolder(r.claims, folder, &unknown)) {
            return notSent(QStringLiteral("The claim folder %1 is one of QRNWeb's own folders; choose the folder of your "
                                          "practice software in Setup.").arg(r.claims.text()));
        }
        if (!unknown.isEmpty()) {
            return notSent(QStringLiteral("QRNWeb could not tell whether the claim folder %1 is one of its own folders: %2.")
                               .arg(r.claims.text(), unknown));
        }
    }
    if (!isPlainExtension(r.format)) {
        return notSent(QStringLiteral("The format code %1 cannot end a file name; please correct the Software File Format "
                                      "in Setup.").arg(r.format));
    }
    return true;
}

bool Submission::emptyOutboundFolder()
{
    // Everything in it goes, what the program cannot name as well: the portal uploads what is there.
    const DosPath all = m_request.own.outbound / QStringLiteral("*.*");
    m_rt.deleteFiles(all);
    m_rt.deleteOdd(m_request.own.outbound);
    // A file of an earlier submission that could not be removed would be uploaded a second time.
    QList<Runtime::Odd> odd;
    QStringList stale = m_rt.findAll(all, &odd);
    for (const Runtime::Odd &entry : std::as_const(odd))
        stale << entry.shown;
    if (stale.isEmpty())
        return true;
    return notSent(QStringLiteral("The outbound folder still holds %1 from an earlier submission, which could not be removed "
                                  "and would be sent again.").arg(stale.join(QStringLiteral(", "))));
}

bool Submission::openPortal()
{
    QString error;
    // Told before they go: a history begun and then stopped ends each of its lines all the same.
    for (qsizetype i = 0; i < claims().size(); ++i) {
        if (claims()[i].going())
            m_toPortal << i;
    }
    if (!SendHistory::begin(m_rt, m_request, claims(), &error))
        return notSent(error + u'.');
    if (m_rt.startProgram(m_rt.path(m_request.browser), m_request.portalAddress + m_request.siteId, &error)) {
        m_outcome.end = SendOutcome::End::PortalOpened;
        // Without it on disk, a run cut off from here leaves its claims where they are.
        SendHistory::portalOpened(m_rt, m_request);
        return true;
    }
    return notSent(QStringLiteral("The browser %1 could not be started: %2.").arg(m_request.browser, error));
}

void Submission::tellTheEnd()
{
    QList<ClaimRecord> told;
    for (const qsizetype i : std::as_const(m_toPortal))
        told << claims()[i];
    if (!m_toPortal.isEmpty())
        SendHistory::end(m_rt, m_request, told);
    m_toPortal.clear();
}

void Submission::removeWhatWasSent()
{
    for (qsizetype i = 0; i < claims().size(); ++i) {
        ClaimRecord &claim = claims()[i];
        m_rt.progress(QStringLiteral("Removing claim %1 of %2 from the claim folder"), i, claims().size());
        if (claim.going())
            claim.takeOut(m_rt, m_request.claim(claim.name));
    }
    tellTheEnd();
}

bool Submission::end(SendOutcome::End end, const QString &reason)
{
    m_outcome.end = end;
    m_outcome.reason = reason;
    return false;
}

// Nothing half-done may wait in the outbound folder for the portal, which Get Reports and Resend
// Claims open on it: the copies this submission made go again.
bool Submission::notSent(const QString &reason)
{
    QSet<QString> removed;
    for (const DosPath &copy : std::as_const(m_written)) {
        if (!removed.contains(copy.text().toCaseFolded()))
            m_rt.deleteFile(copy);
        removed.insert(copy.text().toCaseFolded());
    }
    for (ClaimRecord &claim : claims()) {
        if (claim.going()) {
            claim.fate = Fate::NotSent;
            claim.detail = reason;
        }
    }
    tellTheEnd();
    return end(SendOutcome::End::NotSent, reason);
}
