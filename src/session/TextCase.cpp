#include "session/TextCase.h"

#include "runtime/AnsiCodePage.h"

#include <algorithm>

namespace {

// Letters change case only within the code page, so that what is saved reads back the same. The
// ASCII letters, which setups are made of, take the short way.
QString convert(const QString &text, bool toUpper)
{
    const char16_t from = toUpper ? u'a' : u'A';
    QString result = text;
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            if (u >= from && u <= from + 25)
                c = QChar(char16_t(u ^ 0x20));
            continue;
        }
        const QChar changed = toUpper ? c.toUpper() : c.toLower();
        if (AnsiCodePage::holds(changed) || !AnsiCodePage::holds(c))
            c = changed;
    }
    return result;
}

} // namespace

QString TextCase::upper(const QString &text)
{
    return convert(text, true);
}

QString TextCase::lower(const QString &text)
{
    return convert(text, false);
}

QString TextCase::trimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

bool TextCase::holdsControlCharacter(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}
