#pragma once

#include "session/Uservar.h"

#include <memory>

class Form1;
class Form3;
class Runtime;

// One run of the program: the runtime, the session variables and the two windows.
class Session
{
public:
    explicit Session(Runtime &runtime);
    ~Session();

    Runtime &runtime() { return m_runtime; }
    Uservar &vars() { return m_vars; }

    Form1 &mainWindow() { return *m_main; }
    // The setup window, created hidden the first time anything touches it; creating it runs its
    // Load before the touch takes effect.
    Form3 &setupWindow();
    bool setupWindowLoaded() const { return m_setup != nullptr; }

    // Runs the main window's Load and shows the window, unless start-up ended the program.
    bool start();

private:
    Runtime &m_runtime;
    Uservar m_vars;
    std::unique_ptr<Form1> m_main;
    std::unique_ptr<Form3> m_setup;
};
