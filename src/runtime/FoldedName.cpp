#include "runtime/FoldedName.h"

#include "runtime/CaseFold.h"


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

// The folded characters, hashed whichever way they were folded: a name beyond ASCII may fold into
// one within it (the Kelvin sign into k). FNV-1a, finished as MurmurHash3 finishes: a file name is
// short, and Qt's hash of bytes costs several times as much for one.
size_t qHash(const FoldedName &key, size_t seed)
{
    const QString folded = key.m_ascii ? QString() : CaseFold::folded(key.m_name);
    const QString &name = key.m_ascii ? key.m_name : folded;
    quint64 h = 0xcbf29ce484222325ULL ^ seed;
    for (const QChar c : name)
        h = (h ^ asciiFolded(c.unicode())) * 0x100000001b3ULL;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return size_t(h);
}
