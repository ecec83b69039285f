#include "TestHost.h"

TestHost::TestHost(const QString &driveFolder)
    : clock(QDate(2026, 3, 4), QTime(9, 5, 7))
    , m_driveFolder(driveFolder)
{
}

int TestHost::messageBox(const QString &text, Buttons buttons)
{
    messages << text;
    messageButtons << buttons;
    if (whileBoxShown)
        whileBoxShown(text);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == Buttons::YesNo ? 6 : 1;
}

bool TestHost::startProgram(const QString &program, const QString &argument, QString *error)
{
    if (browserFails) {
        if (error)
            *error = QStringLiteral("No such file or directory");
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

bool TestHost::refuses(Operation operation, const QString &hostPath) const
{
    return refuse && refuse(operation, hostPath);
}
