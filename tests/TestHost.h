#pragma once

#include "runtime/Host.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the person at the desk and the machine around the program: answers message boxes
// from a queue, records the programs started and keeps a fixed clock.
class TestHost : public Host
{
public:
    struct Start
    {
        QString program;
        QString argument;
    };

    explicit TestHost(const QString &driveFolder);

    Answer messageBox(const QString &text, Buttons buttons, const QString &details) override;
    bool startProgram(const QString &program, const QString &argument, QString *error) override;
    QDateTime now() const override;
    QString driveFolder() const override;

    QStringList messages;
    QList<Buttons> messageButtons;
    QStringList details;
    QList<Answer> answers;         // taken in turn; OK or Yes when empty
    QList<Start> starts;
    bool browserFails = false;
    QDateTime clock;
    // Runs inside a message box, while the box would be on screen.
    std::function<void(const QString &)> whileBoxShown;

private:
    QString m_driveFolder;
};
