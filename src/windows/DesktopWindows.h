#pragma once

#include <memory>

class Form1;
class Form3;
class Session;

// The two windows of one run on a desktop, as views of the session's fields: the main window at
// once, the setup window when its fields are first shown.
class DesktopWindows
{
public:
    explicit DesktopWindows(Session &session);
    ~DesktopWindows();

    Form1 &main() { return *m_main; }
    // The setup window once it has been shown; none before.
    Form3 *setup() const { return m_setup.get(); }

private:
    Session &m_session;
    std::unique_ptr<Form1> m_main;
    std::unique_ptr<Form3> m_setup;
};
