#pragma once

#include "session/OwnFolders.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QString>

// Everything one Send Claims works from, taken at the press. Its folders are parsed and pinned
// once: a claim's path is its folder's and its name.
struct SendRequest
{
    OwnFolders own;
    DosPath claims;           // the claim folder, as the setup names it, ending in a backslash
    QString fileSpec;         // the claim file name or pattern
    QString format;           // the format code the outbound names end in
    QString siteId;
    QString browser;
    QString portalAddress;    // the site id is appended
    QDateTime at;             // when the submission began

    DosPath claim(const QString &name) const { return claims / name; }
    // The newest backup copy of a claim of this name; every one is kept in the folder of its
    // submission as well, named by when it began, as Explorer sorts it and Windows allows.
    DosPath newestBackupOf(const QString &name) const { return own.backups / name; }
    // A second submission in the same second takes " 2", and so on.
    QString keptFolder() const { return at.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")); }
    // The name of such a folder: when it began, and its number within that second.
    static const QRegularExpression &keptFolderName()
    {
        static const QRegularExpression name(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d)(?: (\\d+))?$"));
        return name;
    }
    // Its name up to the first dot, a dot and the format code.
    DosPath outboundOf(const QString &name) const
    {
        const qsizetype dot = name.indexOf(u'.');
        return own.outbound / ((dot < 0 ? name : name.left(dot)) + u'.' + format);
    }
};
