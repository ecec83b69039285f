#include "runtime/FoldedName.h"

namespace {

char16_t asciiFolded(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// FNV-1a over the characters, capitals folded: a file name is short, and Qt's hash of bytes costs
// several times as much for one. ascii: whether all of them are in ASCII.
quint64 fnv(QStringView chars, bool *ascii)
{
    quint64 h = 0xcbf29ce484222325ULL;
    char16_t all = 0;
    for (const QChar c : chars) {
        all |= c.unicode();
        h = (h ^ asciiFolded(c.unicode())) * 0x100000001b3ULL;
    }
    *ascii = all < 0x80;
    return h;
}

} // namespace

// Hashed whichever way the characters were folded: a name beyond ASCII may fold into one within it
// (the Kelvin sign into k).
FoldedName::FoldedName(const QString &name)
    : m_name(name)
    , m_hash(fnv(name, &m_ascii))
{
    if (!m_ascii) {
        bool unused;
        m_hash = fnv(name.toCaseFolded(), &unused);
    }
}

bool operator==(const FoldedName &a, const FoldedName &b)
{
    if (a.m_hash != b.m_hash)
        return false;
    if (!a.m_ascii || !b.m_ascii)
        return a.m_name.toCaseFolded() == b.m_name.toCaseFolded();
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
