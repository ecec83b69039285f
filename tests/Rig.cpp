#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

const QByteArray Rig::practice("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

Rig::Rig()
{
    QDir().mkpath(driveFolder);
    addDrive(u"c:"_s, u"drive_c"_s);
    makeRun();
}

void Rig::write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(onC(path)).path());
    QFile file(onC(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Rig::read(const QString &path) const
{
    QFile file(onC(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

bool Rig::exists(const QString &path) const
{
    return QFileInfo::exists(onC(path));
}

QStringList Rig::files(const QString &folder) const
{
    return QDir(onC(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void Rig::addDrive(const QString &drive, const QString &folder)
{
    QDir().mkpath(dir.filePath(folder));
    QFile::link(dir.filePath(folder), driveFolder + u'/' + drive);
}

bool Rig::startWith(const QByteArray &setup, const QStringList &claims, QByteArray (*content)(const QString &))
{
    installBrowser();
    if (!setup.isEmpty())
        write(u"qrn/setup.fil"_s, setup);
    QDir().mkpath(onC(u"claimin"_s));
    for (const QString &claim : claims)
        write(u"claimin/"_s + claim, content ? content(claim) : "claim " + claim.toLatin1());
    const bool started = start();
    host->messages.clear();
    return started;
}

void Rig::makeRun()
{
    auto files = std::make_unique<FaultyFiles>();
    disk = files.get();
    runtime = std::make_unique<Runtime>(*host, std::move(files));
    session = std::make_unique<Session>(*runtime);
    windows = std::make_unique<DesktopWindows>(*session);
}

bool Rig::restart()
{
    windows.reset();
    session.reset();
    makeRun();
    return start();
}

void Rig::click(const char *button)
{
    QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
}

void Rig::edit(const QStringList &edits)
{
    for (const QString &edit : edits) {
        const qsizetype equals = edit.indexOf(u'=');
        find<QLineEdit>(qPrintable(edit.left(equals)))->setText(edit.mid(equals + 1));
    }
}
