#include "session/Session.h"

#include "runtime/Runtime.h"
#include "windows/Form1.h"
#include "windows/Form3.h"

Session::Session(Runtime &runtime)
    : m_runtime(runtime)
    , m_main(std::make_unique<Form1>(*this))
{
}

Session::~Session() = default;

Form3 &Session::setupWindow()
{
    if (!m_setup) {
        m_setup = std::make_unique<Form3>(*this);
        m_setup->load();
    }
    return *m_setup;
}

bool Session::start()
{
    m_main->load();
    if (m_runtime.hasEnded())
        return false;
    m_main->show();
    return true;
}
