#pragma once

#include "runtime/FoldedName.h"
#include "runtime/Runtime.h"
#include "session/SendOutcome.h"
#include "session/SendRequest.h"

#include <QHash>
#include <QPair>
#include <QStringList>

#include <optional>

// One Send Claims over the runtime, from a request: its steps in the order they must come, each
// false when the submission ends there. outcome() tells how it ended, claim by claim.
class Submission
{
public:
    Submission(Runtime &runtime, SendRequest request)
        : m_rt(runtime)
        , m_request(std::move(request))
    {
    }

    // The checks that touch nothing, the claims found, the outbound folder emptied.
    bool prepare();
    // Each claim into the backup and the outbound folder, on disk, and checked.
    bool copy();
    bool openPortal();
    // The claims sent taken out of the claim folder, each only while it is the very file copied.
    void removeWhatWasSent();

    const SendRequest &request() const { return m_request; }
    const SendOutcome &outcome() const { return m_outcome; }

private:
    bool checkFolders();
    bool emptyOutboundFolder();
    bool copyOne(qsizetype index);
    void keepNewest(const ClaimRecord &claim);
    bool isLatestKeptCopy(const QString &name, const DosPath &file);
    bool setAside(const DosPath &file, const QString &name);
    // The history's end of the claims it told the portal would get.
    void tellTheEnd();
    bool flush();
    bool keepWhatChanged();
    bool end(SendOutcome::End end, const QString &reason = {});
    // Stops before the portal: what this submission put into the outbound folder goes again.
    bool notSent(const QString &reason);
    QList<ClaimRecord> &claims() { return m_outcome.claims; }

    Runtime &m_rt;
    const SendRequest m_request;
    SendOutcome m_outcome;
    DosPath m_kept;                           // this submission's backup folder
    std::optional<QStringList> m_earlierKept;   // the earlier submissions' backup folders, newest first, once needed
    QList<qsizetype> m_toPortal;              // the claims the history told the portal would get
    QList<DosPath> m_written;                 // outbound copies this submission made
    QHash<FoldedName, qsizetype> m_backupOwner;  // backup name -> the claim whose copy it holds
    QHash<FoldedName, qsizetype> m_outboundOwner;
    QHash<QPair<quint64, quint64>, qsizetype> m_fileOwner;   // a file's identity -> the claim sent under its name
};
