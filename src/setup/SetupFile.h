#pragma once

#include "session/SetupValues.h"

#include <QString>
#include <QStringList>

#include <optional>

class Session;

// The five-line setup file "setup.fil": an 8-character key, colon included, then the value.
namespace SetupFile
{
    enum class Key { SiteId, Software, Format, Folder, FileName };

    struct Record
    {
        Key key;
        QString value;   // upper case, trailing blanks removed
    };


    // A line of the file as start-up reads it; nothing for a line with no known key.
    std::optional<Record> parse(const QString &line);

    // The five lines a save writes, in order, each without its CR LF.
    QStringList lines(const SetupValues &values);

    const QString &keyText(Key key);

    // Start-up's reading of "setup.fil" in the current folder into the windows' fields. A file that
    // cannot be read to its end is named in a message and loads nothing, as a missing one.
    void read(Session &session);
} // namespace SetupFile
