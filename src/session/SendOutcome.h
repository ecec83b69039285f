#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What one Send Claims did: which claims went, which stayed and why, whether the portal opened,
// and what to tell the person. The caller shows the message.
struct SendOutcome
{
    struct Kept
    {
        QString name;
        QString why;
    };

    QStringList sent;              // copied, left for the portal and taken out of the claim folder
    QList<Kept> stayed;            // in the claim folder still, or matched but unsendable
    QList<Kept> removedElsewhere;  // copied, then removed by another program: what became of its copy
    bool portalOpened = false;
    QString message;              // empty: nothing to tell
    QString details;

    static QStringList names(const QList<Kept> &claims)
    {
        QStringList names;
        for (const Kept &claim : claims)
            names << claim.name;
        return names;
    }
};
