#pragma once

class Session;

// What the setup window's fields and buttons do.
namespace SetupBehaviour
{
    void siteIdChanged(Session &session);
    void formatChanged(Session &session);
    void driveChanged(Session &session);
    void folderChanged(Session &session);
    void saveSetup(Session &session);
    void exit(Session &session);
    void unload(Session &session);
} // namespace SetupBehaviour
