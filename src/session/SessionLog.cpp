#include "session/SessionLog.h"

#include "runtime/Runtime.h"
#include "session/Session.h"

void SessionLog::write(Session &session, const QString &line)
{
    Runtime &rt = session.runtime();
    if (rt.isOpen(session.vars().LogFileNo))
        rt.writeLine(session.vars().LogFileNo, line);
}

void SessionLog::close(Session &session)
{
    session.runtime().closeFile(session.vars().LogFileNo);
}
