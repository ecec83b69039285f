#include "Rig.h"

#include "windows/Form1.h"
#include "windows/Form3.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <cmath>

Rig::Rig()
{
    driveFolder = dir.filePath(QStringLiteral("dosdevices"));
    QDir().mkpath(driveFolder);
    QDir().mkpath(dir.filePath(QStringLiteral("drive_c")));
    QFile::link(dir.filePath(QStringLiteral("drive_c")), driveFolder + QStringLiteral("/c:"));
    host = std::make_unique<TestHost>(driveFolder);
    makeRun();
}

QRect Rig::designed(const QRect &twips)
{
    auto px = [](int value) { return int(std::lround(value / 15.0)); };
    return QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return file.readAll();
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
