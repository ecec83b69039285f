#include "Rig.h"
#include "session/Addresses.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

void startWithSiteId(Rig &rig, const QByteArray &setup = "site-id:ab12\r\n")
{
    rig.installBrowser();
    if (!setup.isEmpty())
        rig.write(QStringLiteral("qrn/setup.fil"), setup);
    QVERIFY(rig.start());
    rig.host->messages.clear();
}

const QString resendQuestion = QStringLiteral(
    "Check with QRN before executing this command. It could result in a duplicate file of claims being sent. "
    "Click Yes to continue.");

} // namespace

class TestPortalCommands : public QObject
{
    Q_OBJECT

private slots:
    void getReportsOpensThePortal_data();
    void getReportsOpensThePortal();
    void resendClaims_data();
    void resendClaims();
    void webSiteLeavesTheLogOpen();
    void browserGoneIsReported();
    void setupAndBackKeepEveryField();
    void exitEndsTheProgram();
    void closingTheSetupWindowEndsTheProgram();
};

void TestPortalCommands::getReportsOpensThePortal_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("argument");
    QTest::newRow("site id") << QByteArray("site-id:ab12\r\n") << PortalAddress + QStringLiteral("ab12");
    QTest::newRow("no site id") << QByteArray() << PortalAddress;
}

void TestPortalCommands::getReportsOpensThePortal()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, argument);
    Rig rig;
    startWithSiteId(rig, setup);
    rig.click("GetReports");
    QCOMPARE(rig.host->starts.size(), 1);
    QCOMPARE(rig.host->starts[0].argument, argument);
    QVERIFY(rig.host->messages.isEmpty());
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestPortalCommands::resendClaims_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Yes") << 6 << true;
    QTest::newRow("No") << 7 << false;
}

void TestPortalCommands::resendClaims()
{
    QFETCH(int, answer);
    QFETCH(bool, opens);
    Rig rig;
    startWithSiteId(rig);
    rig.host->answers << Host::Answer(answer);
    rig.click("Command2");
    QCOMPARE(rig.host->messages, QStringList{resendQuestion});
    QCOMPARE(rig.host->messageButtons.last(), Host::Buttons::YesNo);
    QCOMPARE(rig.host->starts.size(), opens ? 1 : 0);
    if (opens)
        QCOMPARE(rig.host->starts[0].argument, PortalAddress + QStringLiteral("ab12"));
    QCOMPARE(rig.runtime->isOpen(rig.session->vars().LogFileNo), !opens);
}

void TestPortalCommands::webSiteLeavesTheLogOpen()
{
    Rig rig;
    startWithSiteId(rig);
    rig.click("CmdQRNWebSite");
    rig.click("CmdQRNWebSite");
    QCOMPARE(rig.host->starts.size(), 2);
    QCOMPARE(rig.host->starts[1].argument, WebSiteAddress);
    QVERIFY(rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestPortalCommands::browserGoneIsReported()
{
    Rig rig;
    startWithSiteId(rig);
    QFile::remove(rig.onC(QStringLiteral("program files/mozilla firefox/firefox.exe")));
    rig.click("GetReports");
    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY(rig.host->messages[0].contains(QLatin1String("could not be started")));
    QVERIFY(rig.host->starts.isEmpty());
}

void TestPortalCommands::setupAndBackKeepEveryField()
{
    Rig rig;
    startWithSiteId(rig, {});
    rig.click("CmndSetup");
    QVERIFY(!rig.main().isVisible());
    QVERIFY(rig.setup().isVisible());
    QCOMPARE(rig.find<QListWidget>("SftwrList")->count(), 18);
    QVERIFY(rig.setup().SiteIDText()->text().isEmpty());

    rig.setup().SiteIDText()->setText(QStringLiteral("xy12"));
    rig.setup().FileNameText()->setText(QStringLiteral("*.CLM"));
    QTest::mouseClick(rig.setup().findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(rig.main().isVisible());
    QVERIFY(!rig.setup().isVisible());
    QCOMPARE(rig.main().YourSiteID()->text(), QStringLiteral("XY12"));

    rig.click("CmndSetup");
    QCOMPARE(rig.setup().SiteIDText()->text(), QStringLiteral("xy12"));
    QCOMPARE(rig.setup().FileNameText()->text(), QStringLiteral("*.CLM"));
    QVERIFY(!rig.runtime->hasEnded());
}

void TestPortalCommands::exitEndsTheProgram()
{
    Rig rig;
    startWithSiteId(rig, "site-id:ab12\r\nsitefmt:NS2\r\n");   // the setup window is loaded and hidden
    QVERIFY(rig.session->setupWindowLoaded());
    rig.click("Command1");
    QVERIFY(rig.runtime->hasEnded());
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
    QVERIFY(rig.host->messages.isEmpty());
}

void TestPortalCommands::closingTheSetupWindowEndsTheProgram()
{
    Rig rig;
    startWithSiteId(rig, "site-id:ab12\r\n");
    const QByteArray saved = rig.read(QStringLiteral("qrn/setup.fil"));
    rig.click("CmndSetup");
    rig.setup().SiteIDText()->setText(QStringLiteral("zz99"));
    rig.setup().close();
    QVERIFY(rig.runtime->hasEnded());
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), saved);
}

QTEST_MAIN(TestPortalCommands)
#include "tst_portalcommands.moc"
