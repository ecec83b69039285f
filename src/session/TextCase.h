#pragma once

#include <QString>

// Upper and lower case that stay within the code page of the setup file: a letter whose other case
// falls outside it (ß, µ) keeps its form, so that lengths and bytes survive a save.
namespace TextCase
{
    QString upper(const QString &text);
    QString lower(const QString &text);
    // The text without its trailing blanks (leading ones stay).
    QString trimRight(const QString &text);
    // True when the text holds a control character (below a blank, or DEL).
    bool holdsControlCharacter(const QString &text);
} // namespace TextCase
