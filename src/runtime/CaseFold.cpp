#include "runtime/CaseFold.h"

QString CaseFold::folded(const QString &name)
{
    return name.toCaseFolded();
}
