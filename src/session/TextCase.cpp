#include "session/TextCase.h"

#include "runtime/AnsiCodePage.h"

#include <algorithm>

namespace {

template<typename Convert>
QString convert(const QString &text, Convert change)
{
    QString result = text;
    for (QChar &c : result) {
        const QChar changed = change(c);
        if (AnsiCodePage::holds(changed) || !AnsiCodePage::holds(c))
            c = changed;
    }
    return result;
}

} // namespace

QString TextCase::upper(const QString &text)
{
    return convert(text, [](QChar c) { return c.toUpper(); });
}

QString TextCase::lower(const QString &text)
{
    return convert(text, [](QChar c) { return c.toLower(); });
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
