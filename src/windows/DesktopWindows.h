#pragma once

#include <memory>

class Form1;
class Form3;
class Session;

// The two windows of one run on a desktop: the main window at once, the setup window when the
// session first needs it. Each forwards the session's fields to its controls.
class DesktopWindows
{
public:
    explicit DesktopWindows(Session &session);
    ~DesktopWindows();

    Form1 &main() { return *m_main; }
    // Through the session, so that a window made here runs its Load first as well.
    Form3 &setup();

private:
    Session &m_session;
    std::unique_ptr<Form1> m_main;
    std::unique_ptr<Form3> m_setup;
};
