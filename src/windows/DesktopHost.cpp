#include "windows/DesktopHost.h"

#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

Host::Answer DesktopHost::messageBox(const QString &text, Buttons buttons, const QString &details)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QRNWeb"), text);
    if (buttons == Buttons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box.setStandardButtons(QMessageBox::Ok);
    if (!details.isEmpty())
        box.setDetailedText(details);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

bool DesktopHost::startProgram(const QString &program, const QString &argument, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({argument});
    if (process.startDetached())
        return true;
    // QProcess's own text names the host's program path; the caller names the browser itself.
    if (error)
        *error = QStringLiteral("the system could not start it");
    return false;
}

QDateTime DesktopHost::now() const
{
    return QDateTime::currentDateTime();
}

QString DesktopHost::driveFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/qrnweb/dosdevices");
}
