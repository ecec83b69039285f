#pragma once

class Session;

// The main window's other commands: the portal, the web site, Setup and Exit.
class PortalCommands
{
public:
    static void getReports(Session &session);
    static void resendClaims(Session &session);
    static void webSite(Session &session);
    static void setup(Session &session);
    static void exit(Session &session);
    // False, after telling the user, when the site id holds a character that would open the
    // portal for another site than the one shown.
    static bool siteIdSendable(Session &session);
};
