#pragma once

#include "runtime/Host.h"

// The real desktop: Qt message boxes, detached processes, the system clock.
class DesktopHost : public Host
{
public:
    Answer messageBox(const QString &text, Buttons buttons, const QString &details) override;
    bool startProgram(const QString &program, const QString &argument, QString *error) override;
    QDateTime now() const override;
    QString driveFolder() const override;
};
