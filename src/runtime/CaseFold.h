#pragma once

#include <QString>

// Names compared without regard to case, as Windows compares them.
namespace CaseFold
{
    // The name as it compares; names looked up many times over are keys of their own (FoldedName).
    QString folded(const QString &name);
} // namespace CaseFold
