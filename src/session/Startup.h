#pragma once

class Session;

// The main window's Load: the whole start-up of the program.
class Startup
{
public:
    static void load(Session &session);
    // The main window's Unload: closing it ends the run.
    static void unload(Session &session);

private:
    static void readSetupFile(Session &session);
};
