#include "session/Session.h"

#include "runtime/Runtime.h"
#include "session/Startup.h"
#include "setup/SoftwareCatalogue.h"

Session::Session(Runtime &runtime)
    : m_runtime(runtime)
{
}

void Session::attachWindows(MainWindowFields &main, SetupWindowMaker makeSetup)
{
    m_main = &main;
    m_makeSetup = std::move(makeSetup);
}

SetupWindowFields &Session::setupWindow()
{
    if (!m_setup) {
        m_setup = &m_makeSetup();
        SoftwareCatalogue::fill(*m_setup);   // the window's Load
    }
    return *m_setup;
}

bool Session::start()
{
    Startup::load(*this);
    if (m_runtime.hasEnded())
        return false;
    m_main->showWindow();
    return true;
}
