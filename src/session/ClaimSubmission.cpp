#include "session/ClaimSubmission.h"
#include "session/Submission.h"

#include "runtime/Runtime.h"
#include "session/Addresses.h"
#include "session/MessageList.h"
#include "session/PortalCommands.h"
#include "session/Session.h"
#include "session/SessionLog.h"
#include "session/TextCase.h"

#include <QHash>

#include <algorithm>

namespace {

// The format code becomes a file name's extension: it may not lead into another folder, hold a
// wildcard, or hold anything a Windows file name cannot.
bool isPlainExtension(const QString &code)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|.");
    return !TextCase::holdsControlCharacter(code)
        && std::none_of(code.cbegin(), code.cend(), [](QChar c) { return forbidden.contains(c); });
}

QStringList oddLines(const QList<Runtime::Odd> &odd)
{
    QStringList lines;
    for (const Runtime::Odd &entry : odd)
        lines << QStringLiteral("%1 (%2; it cannot be sent)").arg(entry.shown, entry.reason);
    return lines;
}

} // namespace

const QString Submission::outboundFolder = QStringLiteral("claims\\");
const QString Submission::backupFolder = QStringLiteral("claimsbu\\");

SendOutcome ClaimSubmission::sendClaims(Session &session)
{
    return Submission(session).run();
}

SendOutcome Submission::run()
{
    // The user waits for it and the practice software only adds claims meanwhile: the folders
    // are looked up once, not once per claim.
    struct Steady
    {
        Runtime &rt;
        explicit Steady(Runtime &runtime) : rt(runtime) { rt.setFoldersSteady(true); }
        ~Steady() { rt.setFoldersSteady(false); }
    } steady(m_rt);
    std::shared_ptr<void> held;
    m_outcome.message = PortalCommands::holdBaseFolder(m_session, &held);
    if (!m_outcome.message.isEmpty() || !readyToSend() || !emptyOutboundFolder())
        return m_outcome;
    SessionLog::write(m_session, QStringLiteral("copy ") + m_v.ClaimPath + QStringLiteral(" to ") + outboundFolder);
    if (copyEach() && flush() && keepWhatChanged() && openPortal())
        removeWhatWasSent();
    return m_outcome;
}

bool Submission::readyToSend()
{
    m_outcome.message = m_v.SiteId.isEmpty() ? QStringLiteral("Please Enter Your Site ID in Setup")
                                              : PortalCommands::unsendableSiteId(m_session);
    if (!m_outcome.message.isEmpty())
        return false;
    if (m_v.ClaimFileSpec.contains(u'\\') || m_v.ClaimFileSpec.contains(u'/') || m_v.ClaimFileSpec.contains(u':')) {
        refuse(QStringLiteral("The claims were not sent. The claim file name %1 holds a folder; choose the folder in "
                              "Setup and enter only the file name or pattern.").arg(m_v.ClaimFileSpec));
        return false;
    }
    const QStringList names = m_rt.findAll(m_v.ClaimPath + m_v.ClaimFileSpec, &m_odd);
    if (names.isEmpty()) {
        QString text = QStringLiteral("No Claims Found to Send");
        QString details;
        if (!m_odd.isEmpty()) {
            text += QStringLiteral("\n\nThese files in the claim folder match the claim file name but cannot be sent:\n")
                + MessageList::shortened(oddLines(m_odd), &details);
        }
        for (const Runtime::Odd &entry : std::as_const(m_odd))
            m_outcome.stayed.append({entry.shown, entry.reason});
        refuse(text, details);
        return false;
    }
    for (const QString &name : names)
        m_claims.append({name, {}, {}, {}});
    // The outbound and backup folders and the base folder are three folders, however linked: one
    // emptied, or copied onto, would otherwise destroy another's files.
    const QString own[] = {m_v.BaseDir + outboundFolder, m_v.BaseDir + backupFolder, m_v.BaseDir};
    for (const QString &folder : own) {
        if (!m_rt.isReadableFolder(folder)) {
            notSent(QStringLiteral("QRNWeb's folder %1 is missing or is not a folder.").arg(folder));
            return false;
        }
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (m_rt.sameFolder(own[i], own[j])) {
                notSent(QStringLiteral("QRNWeb's folders %1 and %2 are one folder; they must be apart.").arg(own[i], own[j]));
                return false;
            }
        }
    }
    // Emptying the outbound folder, copying onto the backups or sending the program's own setup
    // and log would destroy the claims or the program's own files.
    for (const QString &own : {outboundFolder, backupFolder, m_v.BaseDir, m_v.BaseDir + QStringLiteral("log"),
                               m_v.BaseDir + QStringLiteral("reports")}) {
        if (m_rt.sameFolder(m_v.ClaimPath, own)) {
            notSent(QStringLiteral("The claim folder %1 is one of QRNWeb's own folders; choose the folder of your "
                                   "practice software in Setup.").arg(m_v.ClaimPath));
            return false;
        }
    }
    m_format = m_session.setupWindow().text(SetupWindowFields::Field::Format);
    if (!isPlainExtension(m_format)) {
        notSent(QStringLiteral("The format code %1 cannot end a file name; please correct the Software File Format "
                               "in Setup.").arg(m_format));
        return false;
    }
    return true;
}

bool Submission::emptyOutboundFolder()
{
    // Everything in it goes, what the program cannot name as well: the portal uploads what is there.
    m_rt.deleteFiles(outboundFolder + QStringLiteral("*.*"));
    m_rt.deleteOdd(outboundFolder);
    // A file of an earlier submission that could not be removed would be uploaded a second time.
    QList<Runtime::Odd> odd;
    QStringList stale = m_rt.findAll(outboundFolder + QStringLiteral("*.*"), &odd);
    for (const Runtime::Odd &entry : std::as_const(odd))
        stale << entry.shown;
    if (stale.isEmpty())
        return true;
    notSent(QStringLiteral("The outbound folder still holds %1 from an earlier submission, which could not be removed "
                           "and would be sent again.").arg(stale.join(QStringLiteral(", "))));
    return false;
}


bool Submission::openPortal()
{
    SessionLog::write(m_session, QStringLiteral("shell to ") + m_v.BrowserPath);
    QString error;
    m_outcome.portalOpened = m_rt.startProgram(m_v.BrowserPath, PortalAddress + m_v.SiteId, &error);
    if (m_outcome.portalOpened)
        return true;
    notSent(QStringLiteral("The browser %1 could not be started: %2.").arg(m_v.BrowserPath, error));
    return false;
}

void Submission::removeWhatWasSent()
{
    QStringList kept, elsewhere;
    for (Claim &claim : m_claims) {
        QString error;
        const bool goes = claim.kept.isEmpty() && !claim.dropped;
        switch (goes ? m_rt.deleteUnchanged(source(claim), claim.stamp, &error) : Runtime::Removal::Removed) {
        case Runtime::Removal::Removed: break;
        case Runtime::Removal::Gone:
            claim.elsewhere = true;
            claim.kept = QStringLiteral("its copy was sent");
            break;
        case Runtime::Removal::Changed:
            claim.kept = QStringLiteral("it changed while it was being sent; it goes with the next Send Claims");
            break;
        case Runtime::Removal::Failed:
            claim.kept = QStringLiteral("it could not be removed: %1; it will be sent again unless you remove it").arg(error);
            break;
        }
        if (claim.dropped)
            continue;
        if (claim.elsewhere)
            m_outcome.removedElsewhere.append({claim.name, claim.kept});
        else if (!claim.kept.isEmpty())
            m_outcome.stayed.append({claim.name, claim.kept});
        else
            m_outcome.sent << claim.name;
        if (!claim.kept.isEmpty())
            (claim.elsewhere ? elsewhere : kept) << QStringLiteral("%1 (%2)").arg(claim.name, claim.kept);
    }
    for (const Runtime::Odd &entry : std::as_const(m_odd))
        m_outcome.stayed.append({entry.shown, entry.reason});
    kept << oddLines(m_odd);
    SessionLog::close(m_session);
    if (kept.isEmpty() && elsewhere.isEmpty())
        return;
    QString text = QStringLiteral("The portal was opened"), details, more;
    if (!kept.isEmpty())
        text += QStringLiteral(", but these claim files stayed in the claim folder:\n") + MessageList::shortened(kept, &details);
    if (!elsewhere.isEmpty()) {
        text += (kept.isEmpty() ? QStringLiteral(", but") : QStringLiteral("\n\nAnd"))
            + QStringLiteral(" these claim files were removed by another program after they were copied:\n")
            + MessageList::shortened(elsewhere, &more);
    }
    m_outcome.message = text;
    m_outcome.details = (details + u'\n' + more).trimmed();
}

// Nothing half-done may wait in the outbound folder for the portal, which Get Reports and Resend
// Claims open on it: the copies this submission made go again.
void Submission::notSent(const QString &reason)
{
    m_written.removeDuplicates();
    for (const QString &copy : std::as_const(m_written))
        m_rt.deleteFile(copy);
    for (const Claim &claim : std::as_const(m_claims)) {
        if (!claim.dropped)
            m_outcome.stayed.append({claim.name, claim.kept.isEmpty() ? reason : claim.kept});
    }
    refuse(QStringLiteral("The claims were not sent. ") + reason
           + QStringLiteral(" No claim file was removed from the claim folder."));
}

void Submission::refuse(const QString &text, const QString &details)
{
    m_outcome.message = text;
    m_outcome.details = details;
    SessionLog::close(m_session);
}
