#pragma once

#include "runtime/Host.h"

// The real desktop: Qt message boxes, detached processes, the system clock.
class DesktopHost : public Host
{
public:
    // No busy pointer stands over the box, and no click or key that came while the program was
    // busy answers it unread; the pointer comes back for whatever work still follows.
    Answer messageBox(const QString &text, Buttons buttons, const QString &details) final;
    bool startProgram(const QString &program, const QString &argument, QString *error) override;
    QDateTime now() const override;
    QString driveFolder() const override;

protected:
    // Shows the box and waits for the person's answer.
    virtual Answer ask(const QString &text, Buttons buttons, const QString &details);
};
