#include "Rig.h"

#include <QLineEdit>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWithoutSetup();
    void secondStartBeginsTheLogAgain();
    void browserCandidatesInOrder_data();
    void browserCandidatesInOrder();
    void noBrowserEndsTheProgram();
    void exampleSetupFillsFieldsAndVariables();
    void closingTheMainWindowEndsTheProgram();
    void logThatCannotOpenIsSkipped();
};

void TestStartup::firstStartWithoutSetup()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/claims/keep.txt"), "x");   // folders that exist already are no error
    QVERIFY(rig.start());

    for (const char *folder : {"qrn", "qrn/claims", "qrn/claimsbu", "qrn/reports", "qrn/user", "qrn/log"})
        QVERIFY2(QFileInfo(rig.onC(QLatin1String(folder))).isDir(), folder);
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), QByteArray("Start QRNWeb session on 03-04-2026 at 09:05:07\r\n"));
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Setup Required, Click OK and then Click on Setup")});
    QCOMPARE(rig.host->messageButtons.first(), Host::Buttons::Ok);
    QVERIFY(rig.main().isVisible());
    QVERIFY(!rig.session->setupWindowLoaded());
    QVERIFY(rig.session->vars().SiteId.isEmpty());
    QVERIFY(rig.session->vars().ClaimPath.isEmpty());
    QCOMPARE(rig.session->vars().BaseDir, QStringLiteral("c:\\qrn\\"));
    QCOMPARE(rig.runtime->currentFolder(), QStringLiteral("c:\\qrn"));
    QVERIFY(rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestStartup::secondStartBeginsTheLogAgain()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/log/qrnweb.txt"), "Start QRNWeb session on 01-01-2026 at 23:59:59\r\ncopy x\r\n");
    rig.host->clock = QDateTime(QDate(2026, 12, 31), QTime(0, 0, 1));
    rig.start();
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), QByteArray("Start QRNWeb session on 12-31-2026 at 00:00:01\r\n"));
}

void TestStartup::browserCandidatesInOrder_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("chosen");
    const QString ff86 = QStringLiteral("program files (x86)/mozilla firefox/firefox.exe");
    const QString ff = QStringLiteral("program files/mozilla firefox/firefox.exe");
    const QString ie86 = QStringLiteral("program files (x86)/internet explorer/iexplore.exe");
    const QString ie = QStringLiteral("program files/internet explorer/iexplore.exe");
    QTest::newRow("firefox in both, x86 wins") << QStringList{ff, ff86} << "c:\\program files (x86)\\mozilla firefox\\firefox.exe";
    QTest::newRow("firefox before explorer") << QStringList{ie86, ff} << "c:\\program files\\mozilla firefox\\firefox.exe";
    QTest::newRow("explorer x86 alone") << QStringList{ie86} << "c:\\program files (x86)\\internet explorer\\iexplore.exe";
    QTest::newRow("explorer alone") << QStringList{ie} << "c:\\program files\\internet explorer\\iexplore.exe";
    QTest::newRow("other case on disk") << QStringList{QStringLiteral("Program Files/Mozilla Firefox/FIREFOX.EXE")}
                                        << "c:\\program files\\mozilla firefox\\firefox.exe";
}

void TestStartup::browserCandidatesInOrder()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, chosen);
    Rig rig;
    for (const QString &path : installed)
        rig.installBrowser(path);
    QVERIFY(rig.start());
    QCOMPARE(rig.session->vars().BrowserPath, chosen);
}

void TestStartup::noBrowserEndsTheProgram()
{
    Rig rig;
    QDir().mkpath(rig.onC(QStringLiteral("program files/mozilla firefox/firefox.exe")));   // a folder is no browser
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\n");
    QVERIFY(!rig.start());
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Browser not found, Call QRN")});
    QVERIFY(rig.runtime->hasEnded());
    QVERIFY(!rig.main().isVisible());
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), QByteArray("Start QRNWeb session on 03-04-2026 at 09:05:07\r\n"));
    QVERIFY(!rig.session->setupWindowLoaded());
}

void TestStartup::exampleSetupFillsFieldsAndVariables()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"),
              "site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
    QVERIFY(rig.start());
    QVERIFY(rig.host->messages.isEmpty());
    const Uservar &v = rig.session->vars();
    QCOMPARE(rig.main().YourSiteID()->text(), QStringLiteral("AB12"));
    QCOMPARE(rig.setup().SiteIDText()->text(), QStringLiteral("AB12"));
    QCOMPARE(v.SiteId, QStringLiteral("ab12"));
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("SOFTDENT"));
    QCOMPARE(rig.setup().SftwrFormatText()->text(), QStringLiteral("SDW"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\SOFTDENT"));
    QCOMPARE(v.ClaimPath, QStringLiteral("C:\\SOFTDENT\\"));
    QCOMPARE(rig.setup().FileNameText()->text(), QStringLiteral("*.REP"));
    QCOMPARE(v.ClaimFileSpec, QStringLiteral("*.REP"));
    QVERIFY(!rig.setup().isVisible());
    QVERIFY(!rig.runtime->isOpen(v.SetupReadFileNo) || v.SetupReadFileNo == v.LogFileNo);
    QVERIFY(rig.runtime->isOpen(v.LogFileNo));
}

void TestStartup::closingTheMainWindowEndsTheProgram()
{
    Rig rig;
    rig.installBrowser();
    rig.start();
    rig.main().close();
    QVERIFY(rig.runtime->hasEnded());
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestStartup::logThatCannotOpenIsSkipped()
{
    Rig rig;
    rig.installBrowser();
    QDir().mkpath(rig.onC(QStringLiteral("qrn/log/qrnweb.txt")));   // a folder where the log should be
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\nsitepat:C:\\IN\r\nsitefil:*.*\r\n");
    rig.write(QStringLiteral("in/A.001"));
    QVERIFY(rig.start());
    rig.click("CmndSetup");
    rig.click("CmndSaveSetup");
    rig.click("SendClaims");   // the run goes on without a log
    QCOMPARE(rig.host->starts.size(), 1);
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")).count("\r\n"), 5);
    QVERIFY(!rig.read(QStringLiteral("qrn/setup.fil")).contains("copy"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
