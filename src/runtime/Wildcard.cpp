#include "runtime/Wildcard.h"

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Greedy match that backtracks only to the last star: linear in practice, never exponential.
bool plainMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || sameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool Wildcard::matches(QStringView pattern, QStringView name)
{
    if (pattern.isEmpty() || name.isEmpty())
        return false;
    if (plainMatch(pattern, name))
        return true;
    if (pattern.endsWith(u".*") && !name.contains(u'.'))
        return plainMatch(pattern.chopped(2), name);
    return false;
}

bool Wildcard::hasWildcards(QStringView text)
{
    return text.contains(u'*') || text.contains(u'?');
}
