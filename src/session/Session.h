#pragma once

#include "session/MainWindowFields.h"
#include "session/SetupWindowFields.h"
#include "session/Uservar.h"

#include <functional>
#include <memory>

class Runtime;
class Session;

// The setup subsystem, which builds on this one, as the session reaches it.
struct SetupHooks
{
    // Binds the setup window's Change events to their handlers, then runs its Load.
    std::function<void(Session &, SetupWindowFields &)> loadWindow;
    // Start-up's reading of the setup file into the windows' fields.
    std::function<void(Session &)> readSetupFile;
};

// One run of the program: the runtime, the session variables and the fields of the two windows.
class Session
{
public:
    Session(Runtime &runtime, SetupHooks setup);
    ~Session();

    Runtime &runtime() { return m_runtime; }
    Uservar &vars() { return m_vars; }
    const SetupHooks &setupHooks() const { return m_hooks; }

    MainWindowFields &mainWindow() { return m_main; }
    // The setup window, created hidden the first time anything touches it; creating it runs its
    // Load before the touch takes effect.
    SetupWindowFields &setupWindow();
    bool setupWindowLoaded() const { return m_setup != nullptr; }
    // Told once, when the setup window has been created and loaded: where a desktop binds its view.
    void whenSetupWindowLoaded(std::function<void(SetupWindowFields &)> loaded) { m_loaded = std::move(loaded); }

    // Runs the main window's Load and shows the window, unless start-up ended the program.
    bool start();

private:
    Runtime &m_runtime;
    SetupHooks m_hooks;
    Uservar m_vars;
    MainWindowFields m_main;
    std::unique_ptr<SetupWindowFields> m_setup;
    std::function<void(SetupWindowFields &)> m_loaded;
};
