#pragma once

class Session;

// The main window's other commands: the portal, the web site, Setup and Exit.
namespace PortalCommands
{
    void getReports(Session &session);
    void resendClaims(Session &session);
    void webSite(Session &session);
    void setup(Session &session);
    void exit(Session &session);
    // False, after telling the user, when the site id holds a character that would open the
    // portal for another site than the one shown.
    bool siteIdSendable(Session &session);
} // namespace PortalCommands
