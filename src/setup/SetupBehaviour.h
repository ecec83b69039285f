#pragma once

class Session;
class SetupWindowFields;
struct SetupHooks;

// What the setup window's fields and buttons do.
namespace SetupBehaviour
{
    // What the session calls up into this subsystem for: the setup window's Load, and start-up's
    // reading of the setup file.
    SetupHooks hooks();
    // Binds each field's Change to its handler, then fills the software list.
    void load(Session &session, SetupWindowFields &window);

    void siteIdChanged(Session &session);
    void formatChanged(Session &session);
    void driveChanged(Session &session);
    void folderChanged(Session &session);
    void saveSetup(Session &session);
    void exit(Session &session);
    void unload(Session &session);
} // namespace SetupBehaviour
