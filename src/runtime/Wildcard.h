#pragma once

#include <QString>

// File-name patterns as the claim folders use them: "*" any run of characters, "?" exactly one,
// letters compared without regard to case, and a trailing ".*" that also takes a name without a dot.
namespace Wildcard
{
    bool matches(QStringView pattern, QStringView name);
    bool hasWildcards(QStringView text);
} // namespace Wildcard
