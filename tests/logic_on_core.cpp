// The logic without a screen: every object of it linked in with Qt Core alone (tests/CMakeLists.txt
// checks what it links), and the setup window's fields keep their rules with no widget anywhere.
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    NoDesk desk;
    desk.drives = dir.filePath(QStringLiteral("dosdevices"));
    Runtime runtime(desk);
    runtime.prepareDrives();
    Session session(runtime, SetupBehaviour::hooks());
    SetupWindowFields &setup = session.setupWindow();
    setup.setText(SetupWindowFields::Field::SiteId, QStringLiteral("Ab12"));
    setup.setText(SetupWindowFields::Field::SoftwareList, QStringLiteral("x"));   // a list has no text to set
    const bool ok = setup.softwareEntries().size() == 18 && session.mainWindow().siteId() == QLatin1String("AB12");
    std::printf("%s\n", ok ? "the logic runs on Qt Core alone" : "FAIL: the setup window's Load or the site id's Change did not run");
    return ok ? 0 : 1;
}
