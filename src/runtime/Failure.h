#pragma once

#include <QString>

// Why the disk refused, as the program tells causes apart, with the system's reason in plain words.
enum class Cause { None, Missing, NotFolder, NotFile, InUse, Full, Unreachable, Denied, Exists, Other };
struct Why
{
    Cause cause = Cause::None;
    QString reason;
    bool failed() const { return cause != Cause::None; }
    // Refused for another reason than that nothing is there: it may well be there.
    bool unknown() const { return failed() && cause != Cause::Missing && cause != Cause::NotFolder; }
};

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

// Hands a refusal and its cause to a caller that asked for them, and says the step failed.
inline bool failWith(Why *why, Cause cause, const QString &reason)
{
    if (why)
        *why = {cause, reason};
    return false;
}

// A step of the file access, its refusal handed on in words to a caller that asked for them.
inline bool told(bool ok, const Why &why, QString *error)
{
    if (!ok && error)
        *error = why.reason;
    return ok;
}
