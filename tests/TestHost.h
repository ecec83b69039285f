#pragma once

#include "windows/DesktopHost.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the person at the desk and the machine around the program: answers message boxes
// from a queue, records the programs started and keeps a fixed clock. What the desktop does around
// a box (the pointer, the input that came meanwhile) is the real desktop's.
class TestHost : public DesktopHost
{
public:
    struct Start
    {
        QString program;
        QString argument;
    };

    explicit TestHost(const QString &driveFolder) : m_driveFolder(driveFolder) {}

    Answer ask(const QString &text, Buttons buttons, const QString &detail) override
    {
        messages << text;
        details << detail;
        messageButtons << buttons;
        if (whileBoxShown)
            whileBoxShown(text);
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    bool startProgram(const QString &program, const QString &argument, QString *error) override
    {
        if (browserFails) {
            if (error)
                *error = QStringLiteral("the system could not start it");
            return false;
        }
        starts << Start{program, argument};
        if (whileStarting)
            whileStarting();
        return true;
    }

    QDateTime now() const override { return clock; }
    qint64 msecsNow() const override { return clock.toMSecsSinceEpoch(); }
    QString driveFolder() const override { return m_driveFolder; }

    QDateTime clock = QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7));
    QStringList messages;
    QList<Buttons> messageButtons;
    QStringList details;
    QList<Answer> answers;   // taken in turn; OK or Yes when empty
    QList<Start> starts;
    bool browserFails = false;
    // Runs inside a message box, while the box would be on screen.
    std::function<void(const QString &)> whileBoxShown;
    // Runs as a program starts: the moment the practice software may write meanwhile.
    std::function<void()> whileStarting;

private:
    QString m_driveFolder;
};
