#include "windows/DesktopWindows.h"

#include "session/Session.h"
#include "windows/Form1.h"
#include "windows/Form3.h"

DesktopWindows::DesktopWindows(Session &session)
    : m_session(session)
    , m_main(std::make_unique<Form1>(session))
{
    session.attachWindows(*m_main, [this]() -> SetupWindowFields & {
        m_setup = std::make_unique<Form3>(m_session);
        return *m_setup;
    });
}

DesktopWindows::~DesktopWindows() = default;

Form3 &DesktopWindows::setup()
{
    m_session.setupWindow();
    return *m_setup;
}
