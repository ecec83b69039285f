// The logic without a screen: it links Qt Core alone, and the setup window's fields keep their
// rules with no widget anywhere (what a headless check or a second front end builds on).
#include "runtime/Runtime.h"
#include "session/Session.h"
#include "setup/SetupBehaviour.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct NoDesk : Host
{
    QString drives;
    Answer messageBox(const QString &, Buttons, const QString &) override { return Answer::Ok; }
    bool startProgram(const QString &, const QString &, QString *) override { return false; }
    void progress(const QString &, qint64, qint64) override {}
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 4), QTime(9, 0)); }
    QString driveFolder() const override { return drives; }
};

bool check(bool ok, const char *what)
{
    if (!ok)
        std::fprintf(stderr, "FAIL: %s\n", what);
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The libraries the logic links, as the build gives them.
    const QStringList links = QString::fromLocal8Bit(argc > 1 ? argv[1] : "").split(u';');
    bool ok = check(links.contains(QStringLiteral("Qt6::Core")), "the logic links Qt Core");
    for (const QString &link : links)
        ok = check(!link.contains(QStringLiteral("Gui")) && !link.contains(QStringLiteral("Widgets")), qPrintable(link)) && ok;

    QTemporaryDir dir;
    NoDesk desk;
    desk.drives = dir.filePath(QStringLiteral("dosdevices"));
    Runtime runtime(desk);
    runtime.prepareDrives();
    Session session(runtime, SetupBehaviour::hooks());
    SetupWindowFields &setup = session.setupWindow();
    setup.setText(SetupWindowFields::Field::SiteId, QStringLiteral("Ab12"));
    ok = check(setup.softwareEntries().size() == 18 && session.mainWindow().siteId() == QLatin1String("AB12"),
               "the setup window's Load and the site id's Change ran") && ok;
    std::printf("%s\n", ok ? "the logic runs on Qt Core alone" : "FAILED");
    return ok ? 0 : 1;
}
