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

// The folded characters, hashed whichever way they were folded: a name beyond ASCII may fold into
// one within it (the Kelvin sign into k). FNV-1a: a file name is short, and Qt's hash of bytes costs
// several times as much for one.
quint64 foldedHash(const QString &name, bool ascii)
{
    const QString folded = ascii ? QString() : CaseFold::folded(name);
    quint64 h = 0xcbf29ce484222325ULL;
    for (const QChar c : ascii ? name : folded)
        h = (h ^ asciiFolded(c.unicode())) * 0x100000001b3ULL;
    return h;
}

} // namespace

FoldedName::FoldedName(const QString &name)
    : m_name(name)
    , m_ascii(isAscii(name))
    , m_hash(foldedHash(name, m_ascii))
{
}

bool operator==(const FoldedName &a, const FoldedName &b)
{
    if (a.m_hash != b.m_hash)
        return false;
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

// Seeded as QHash asks, finished as MurmurHash3 finishes.
size_t qHash(const FoldedName &key, size_t seed)
{
    quint64 h = key.m_hash ^ seed;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return size_t(h);
}
