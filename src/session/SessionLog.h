#pragma once

#include <QString>

class Session;

// The per-run log. Once it is closed it stays closed; later lines are skipped.
namespace SessionLog
{
    void write(Session &session, const QString &line);
    void close(Session &session);
} // namespace SessionLog
