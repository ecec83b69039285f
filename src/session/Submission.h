#pragma once

#include "runtime/Runtime.h"
#include "session/SendOutcome.h"
#include "session/Session.h"

#include <QHash>
#include <QList>
#include <QString>


struct Claim
{
    QString name;
    QString outbound;        // its name in the outbound folder
    Runtime::Stamp stamp;    // as it was when it was first copied
    QString kept;            // why it stays in the claim folder, or what became of it; empty while it goes
    bool dropped = false;    // gone before it was copied: not part of this submission
    bool elsewhere = false;  // removed by another program once it was copied
};

// One Send Claims: what it took, what it wrote, and how it ends.
class Submission
{
public:
    static const QString outboundFolder;
    static const QString backupFolder;

    explicit Submission(Session &session)
        : m_session(session)
        , m_rt(session.runtime())
        , m_v(session.vars())
    {
    }

    SendOutcome run();

private:
    bool readyToSend();
    bool emptyOutboundFolder();
    bool copyEach();
    bool copyOne(Claim &claim, qsizetype index);
    bool flush();
    bool keepWhatChanged();
    bool openPortal();
    void removeWhatWasSent();
    void notSent(const QString &reason);
    void refuse(const QString &text, const QString &details = {});
    QString source(const Claim &claim) const { return m_v.ClaimPath + claim.name; }

    Session &m_session;
    Runtime &m_rt;
    Uservar &m_v;
    SendOutcome m_outcome;
    QString m_format;
    QList<Claim> m_claims;
    QList<Runtime::Odd> m_odd;
    QStringList m_written;                    // outbound copies this submission made
    QHash<QString, qsizetype> m_backupOwner;  // backup name, case folded -> the claim whose copy it holds
    QHash<QString, qsizetype> m_outboundOwner;
    QHash<QPair<quint64, quint64>, qsizetype> m_fileOwner;   // a file's identity -> the claim sent under its name
};
