#pragma once

#include "runtime/Host.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the person at the desk and the machine around the program: answers message boxes
// from a queue, records the programs started, keeps a fixed clock, and can refuse host operations.
class TestHost : public Host
{
public:
    struct Start
    {
        QString program;
        QString argument;
    };

    explicit TestHost(const QString &driveFolder);

    int messageBox(const QString &text, Buttons buttons) override;
    bool startProgram(const QString &program, const QString &argument, QString *error) override;
    QDateTime now() const override;
    QString driveFolder() const override;
    bool refuses(Operation operation, const QString &hostPath) const override;

    QStringList messages;
    QList<Buttons> messageButtons;
    QList<int> answers;            // taken in turn; OK (1) or Yes (6) when empty
    QList<Start> starts;
    bool browserFails = false;
    QDateTime clock;
    std::function<bool(Operation, const QString &)> refuse;
    // Runs inside a message box, while the box would be on screen.
    std::function<void(const QString &)> whileBoxShown;

private:
    QString m_driveFolder;
};
