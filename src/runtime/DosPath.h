#pragma once

#include "runtime/HostPath.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <memory>

// A path in the program's terms, parsed once, against the current drive and folder of when it was
// made: its drive and the names below the drive's root, "." and ".." applied. It keeps the words
// it was given in, for what the program says about it. A name added with / is one name, as a
// listing or the program itself gave it, never parsed again.
class DosPath
{
public:
    // What was resolved of it once and is held while the path lives (see Runtime::pin): the host
    // folder of its first depth names, and what the path mapper and the file access hold for it.
    struct Pinned
    {
        HostPath folder;
        qsizetype depth = 0;
        std::shared_ptr<void> names, files;
    };

    DosPath() = default;   // leads nowhere

    bool isEmpty() const { return m_drive.isNull(); }
    QChar drive() const { return m_drive; }
    const QStringList &names() const { return m_names; }
    // As it was given: "claims\ECLAIM.X12", "c:\qrn\".
    const QString &text() const { return m_text; }
    DosPath operator/(const QString &name) const;
    // The folder it is in; itself at a drive's root.
    DosPath folder() const;
    const Pinned *pinned() const { return m_pinned.get(); }

private:
    friend class DosPaths;
    friend class Runtime;

    QChar m_drive;
    QStringList m_names;
    QString m_text;
    std::shared_ptr<const Pinned> m_pinned;
};
