#pragma once

#include <QString>

class Session;

// The setup window's help: a fixed text in a panel that Help shows and hides.
namespace HelpText
{
    const QString &text();
    void toggle(Session &session);
    void hide(Session &session);
} // namespace HelpText
