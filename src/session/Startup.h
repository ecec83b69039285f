#pragma once

class Session;

// The main window's Load: the whole start-up of the program.
namespace Startup
{
    void load(Session &session);
    // A submission that was cut off after its portal opened is finished, and the person told.
    void finishCutOff(Session &session);
    // The main window's Unload: closing it ends the run.
    void unload(Session &session);
} // namespace Startup
