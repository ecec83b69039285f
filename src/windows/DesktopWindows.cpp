#include "windows/DesktopWindows.h"

#include "session/Session.h"
#include "windows/Form1.h"
#include "windows/Form3.h"

DesktopWindows::DesktopWindows(Session &session)
    : m_session(session)
    , m_main(std::make_unique<Form1>(session))
{
    // Start-up fills the setup window's fields; its widgets wait until a person is to see them.
    session.whenSetupWindowLoaded([this](SetupWindowFields &fields) {
        QObject::connect(&fields, &SetupWindowFields::updated, m_main.get(), [this](SetupWindowFields::Field field) {
            if (field == SetupWindowFields::Field::Window && m_session.setupWindow().isShown() && !m_setup)
                m_setup = std::make_unique<Form3>(m_session);
        });
    });
}

DesktopWindows::~DesktopWindows()
{
    m_session.whenSetupWindowLoaded({});
}
