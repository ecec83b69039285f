#include "runtime/DesktopHost.h"

#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

bool Host::refuses(Operation, const QString &) const
{
    return false;
}

int DesktopHost::messageBox(const QString &text, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QRNWeb"), text);
    if (buttons == Buttons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box.setStandardButtons(QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes: return 6;
    case QMessageBox::No: return 7;
    default: return 1;
    }
}

bool DesktopHost::startProgram(const QString &program, const QString &argument, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({argument});
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
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
