#pragma once

#include "session/Uservar.h"
#include "session/WindowFields.h"

#include <functional>

class Runtime;

// One run of the program: the runtime, the session variables and the fields of the two windows.
class Session
{
public:
    // Creates the setup window, hidden, and hands over its fields.
    using SetupWindowMaker = std::function<SetupWindowFields &()>;

    explicit Session(Runtime &runtime);

    Runtime &runtime() { return m_runtime; }
    Uservar &vars() { return m_vars; }

    // The windows, as a desktop provides them; the setup window is made only when first needed.
    void attachWindows(MainWindowFields &main, SetupWindowMaker makeSetup);

    MainWindowFields &mainWindow() { return *m_main; }
    // The setup window, created hidden the first time anything touches it; creating it runs its
    // Load before the touch takes effect.
    SetupWindowFields &setupWindow();
    bool setupWindowLoaded() const { return m_setup != nullptr; }

    // Runs the main window's Load and shows the window, unless start-up ended the program.
    bool start();

private:
    Runtime &m_runtime;
    Uservar m_vars;
    MainWindowFields *m_main = nullptr;
    SetupWindowMaker m_makeSetup;
    SetupWindowFields *m_setup = nullptr;
};
