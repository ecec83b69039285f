#pragma once

#include <QString>

class Session;

// The per-run log. Once it is closed it stays closed; later lines are skipped.
class SessionLog
{
public:
    static void write(Session &session, const QString &line);
    static void close(Session &session);
};
