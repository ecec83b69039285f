#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

const QByteArray Rig::practice("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

Rig::Rig()
{
    driveFolder = dir.filePath(QStringLiteral("dosdevices"));
    QDir().mkpath(driveFolder);
    QDir().mkpath(dir.filePath(QStringLiteral("drive_c")));
    QFile::link(dir.filePath(QStringLiteral("drive_c")), driveFolder + QStringLiteral("/c:"));
    host = std::make_unique<TestHost>(driveFolder);
    makeRun();
}

QString Rig::onC(const QString &path) const
{
    return dir.filePath(QStringLiteral("drive_c/") + path);
}

void Rig::write(const QString &path, const QByteArray &bytes)
{
    const QString host = onC(path);
    QDir().mkpath(QFileInfo(host).path());
    QFile file(host);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(host));
    file.write(bytes);
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

void Rig::installBrowser(const QString &path)
{
    write(path, QByteArrayLiteral("#!/bin/sh\n"));
}

bool Rig::startWith(const QByteArray &setup, const QStringList &claims, QByteArray (*content)(const QString &))
{
    installBrowser();
    if (!setup.isEmpty())
        write(QStringLiteral("qrn/setup.fil"), setup);
    QDir().mkpath(onC(QStringLiteral("claimin")));
    for (const QString &claim : claims)
        write(QStringLiteral("claimin/") + claim, content ? content(claim) : "claim " + claim.toLatin1());
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

bool Rig::start()
{
    return session->start();
}

bool Rig::restart()
{
    windows.reset();
    session.reset();
    makeRun();
    return start();
}

Form1 &Rig::main()
{
    return windows->main();
}

Form3 &Rig::setup()
{
    return windows->setup();
}

void Rig::click(const char *button)
{
    QPushButton *found = find<QPushButton>(button);
    if (!found)
        qFatal("no button %s", button);
    QTest::mouseClick(found, Qt::LeftButton);
}

void Rig::edit(const QStringList &edits)
{
    for (const QString &edit : edits) {
        const qsizetype equals = edit.indexOf(u'=');
        QLineEdit *box = setup().findChild<QLineEdit *>(edit.left(equals));
        if (!box)
            qFatal("no box %s", qPrintable(edit.left(equals)));
        box->setText(edit.mid(equals + 1));
    }
}
