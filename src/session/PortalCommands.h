#pragma once

#include "runtime/DosPath.h"

#include <QString>

#include <memory>

class Session;

// The main window's other commands: the portal, the web site, Setup and Exit.
namespace PortalCommands
{
    void getReports(Session &session);
    void resendClaims(Session &session);
    void webSite(Session &session);
    void setup(Session &session);
    void exit(Session &session);
    // What to tell the user when the site id holds a character that would open the portal for
    // another site than the one shown; empty when it can be sent.
    QString unsendableSiteId(Session &session);
    // Keeps every other run of QRNWeb on this computer from working on the base folder while held
    // lives. What to tell the user when another run works on it now, empty otherwise; a base folder
    // where no lock can be taken (missing, read-only) is left to the command's own checks.
    QString holdBaseFolder(Session &session, const DosPath &base, std::shared_ptr<void> *held);
} // namespace PortalCommands
