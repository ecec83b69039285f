#pragma once

#include <QString>

// Hands a plain reason to a caller that asked for one, and says the step failed.
inline bool failWith(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

inline QString notFoundReason()
{
    return QStringLiteral("it was not found");
}
