#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The one-byte character set of the program's own text files, as Windows programs of its era write
// them: the system's ANSI code page on Windows, Windows-1252 (what Western Windows uses) elsewhere.
namespace AnsiCodePage
{
    QString decode(QByteArrayView bytes);
    // A character the code page cannot hold becomes '?'.
    QByteArray encode(QStringView text);
    bool holds(QChar c);
} // namespace AnsiCodePage
