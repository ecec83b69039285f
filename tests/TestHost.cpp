#include "TestHost.h"

TestHost::TestHost(const QString &driveFolder)
    : clock(QDate(2026, 3, 4), QTime(9, 5, 7))
    , m_driveFolder(driveFolder)
{
}

Host::Answer TestHost::messageBox(const QString &text, Buttons buttons, const QString &detail)
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

bool TestHost::startProgram(const QString &program, const QString &argument, QString *error)
{
    if (browserFails) {
        if (error)
            *error = QStringLiteral("the system could not start it");
        return false;
    }
    starts << Start{program, argument};
    return true;
}

QDateTime TestHost::now() const
{
    return clock;
}

QString TestHost::driveFolder() const
{
    return m_driveFolder;
}
