#pragma once

#include <QString>

class Session;

// The setup window's help: a fixed text in a panel that Help shows and hides.
class HelpText
{
public:
    static const QString &text();
    static void toggle(Session &session);
    static void hide(Session &session);
};
