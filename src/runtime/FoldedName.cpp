#include "runtime/FoldedName.h"

#include "runtime/CaseFold.h"

#include <QHashFunctions>
#include <QVarLengthArray>

namespace {

char16_t asciiFolded(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

bool isAscii(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

FoldedName::FoldedName(const QString &name)
    : m_name(name)
    , m_ascii(isAscii(name))
{
}

bool operator==(const FoldedName &a, const FoldedName &b)
{
    if (!a.m_ascii || !b.m_ascii)
        return CaseFold::folded(a.m_name) == CaseFold::folded(b.m_name);
    if (a.m_name.size() != b.m_name.size())
        return false;
    const QChar *x = a.m_name.constData(), *y = b.m_name.constData();
    for (qsizetype i = 0; i < a.m_name.size(); ++i) {
        if (asciiFolded(x[i].unicode()) != asciiFolded(y[i].unicode()))
            return false;
    }
    return true;
}

// The hash of the folded characters, whichever way they were folded: a name beyond ASCII may fold
// into one within it (the Kelvin sign into k).
size_t qHash(const FoldedName &key, size_t seed)
{
    if (!key.m_ascii)
        return qHash(QStringView(CaseFold::folded(key.m_name)), seed);
    QVarLengthArray<char16_t, 64> folded(key.m_name.size());
    const QChar *chars = key.m_name.constData();
    for (qsizetype i = 0; i < folded.size(); ++i)
        folded[i] = asciiFolded(chars[i].unicode());
    return qHash(QStringView(folded.data(), folded.size()), seed);
}
