#include "session/OwnFolders.h"

#include "runtime/Runtime.h"

OwnFolders::OwnFolders(Runtime &rt, const QString &baseFolder)
    : base(rt.pin(rt.path(baseFolder)))
    , outbound(rt.pin(rt.path(QStringLiteral("claims\\"), base)))
    , backups(rt.pin(rt.path(QStringLiteral("claimsbu\\"), base)))
    , log(rt.pin(base / QStringLiteral("log")))
{
}
