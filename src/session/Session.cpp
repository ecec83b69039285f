#include "session/Session.h"

#include "runtime/Runtime.h"
#include "session/Startup.h"

Session::Session(Runtime &runtime, SetupHooks setup)
    : m_runtime(runtime)
    , m_hooks(std::move(setup))
{
}

Session::~Session() = default;

SetupWindowFields &Session::setupWindow()
{
    if (!m_setup) {
        m_setup = std::make_unique<SetupWindowFields>();
        // Created, the selectors show the current drive and folder, which start-up has by then
        // made the base folder; nothing handles their Change yet.
        m_setup->setDrives(m_runtime.drives());
        m_setup->showDrive(m_runtime.currentFolder().text());
        m_setup->setFolder(m_runtime.displayPath(m_runtime.currentFolder()));
        m_hooks.loadWindow(*this, *m_setup);
        if (m_loaded)
            m_loaded(*m_setup);
    }
    return *m_setup;
}

bool Session::start()
{
    Startup::load(*this);
    if (m_runtime.hasEnded())
        return false;
    m_main.showWindow();
    return true;
}
