#pragma once

class Session;

// What the setup window's fields and buttons do.
class SetupBehaviour
{
public:
    static void siteIdChanged(Session &session);
    static void formatChanged(Session &session);
    static void driveChanged(Session &session);
    static void folderChanged(Session &session);
    static void saveSetup(Session &session);
    static void exit(Session &session);
    static void unload(Session &session);
};
