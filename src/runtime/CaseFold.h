#pragma once

#include <QString>

// Names compared without regard to case, as Windows compares them.
namespace CaseFold
{
    // The name as QString::toCaseFolded() folds it; a name in plain ASCII, as nearly every file name
    // is, the short way, and without a copy when it has no capital.
    QString folded(const QString &name);
} // namespace CaseFold
