// Checks the file-name matcher against a plain dynamic-programming matcher on any pattern and name
// (the input's first line is the pattern, the rest the name).
#include "runtime/Wildcard.h"

#include <QString>

#include <cstdlib>
#include <vector>

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

bool reference(QStringView pattern, QStringView name)
{
    const qsizetype p = pattern.size(), n = name.size();
    // can[i][j]: the first i pattern characters match the first j name characters.
    std::vector<std::vector<char>> can(size_t(p + 1), std::vector<char>(size_t(n + 1), 0));
    can[0][0] = 1;
    for (qsizetype i = 1; i <= p; ++i) {
        const QChar c = pattern[i - 1];
        for (qsizetype j = 0; j <= n; ++j) {
            if (c == u'*')
                can[i][j] = can[i - 1][j] || (j > 0 && can[i][j - 1]);
            else if (j > 0)
                can[i][j] = can[i - 1][j - 1] && (c == u'?' || sameLetter(c, name[j - 1]));
        }
    }
    return can[size_t(p)][size_t(n)];
}

bool expected(QStringView pattern, QStringView name)
{
    if (pattern.isEmpty() || name.isEmpty())
        return false;
    if (reference(pattern, name))
        return true;
    return pattern.endsWith(u".*") && !name.contains(u'.') && reference(pattern.chopped(2), name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;   // the reference matcher is quadratic in memory
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = text.indexOf(u'\n');
    const QString pattern = split < 0 ? text : text.left(split);
    const QString name = split < 0 ? QString() : text.mid(split + 1);
    if (Wildcard::matches(pattern, name) != expected(pattern, name))
        std::abort();
    return 0;
}
