#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWithoutSetup();
    void browserCandidatesInOrder_data();
    void browserCandidatesInOrder();
    void endingTheProgram_data();
    void endingTheProgram();
    void logThatCannotOpenIsSkipped();
};

// Guards the first start of a new practice: the program's folders, a fresh log, one box, drive C.
void TestStartup::firstStartWithoutSetup()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/claims/keep.txt"), "x");   // folders that exist already are no error
    rig.write(QStringLiteral("qrn/log/qrnweb.txt"), "Start QRNWeb session on 01-01-2026 at 23:59:59\r\ncopy x\r\n");
    // Started from another drive, it works on drive C all the same.
    QDir().mkpath(rig.dir.filePath(QStringLiteral("d_drive")));
    QFile::link(rig.dir.filePath(QStringLiteral("d_drive")), rig.driveFolder + QStringLiteral("/d:"));
    QVERIFY(rig.runtime->changeDrive(QStringLiteral("d:")));
    QVERIFY(rig.start());

    for (const char *folder : {"qrn", "qrn/claims", "qrn/claimsbu", "qrn/reports", "qrn/user", "qrn/log"})
        QVERIFY2(QFileInfo(rig.onC(QLatin1String(folder))).isDir(), folder);
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), QByteArray("Start QRNWeb session on 03-04-2026 at 09:05:07\r\n"));
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Setup Required, Click OK and then Click on Setup")});
    QCOMPARE(rig.host->messageButtons, QList<Host::Buttons>{Host::Buttons::Ok});
    QVERIFY(rig.main().isVisible());
    QVERIFY(rig.session->vars().ClaimPath.isEmpty());
    QCOMPARE(rig.runtime->currentFolder(), QStringLiteral("c:\\qrn"));
    QVERIFY(rig.runtime->isOpen(rig.session->vars().LogFileNo));
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
    QTest::newRow("explorer x86 before explorer") << QStringList{ie, ie86} << "c:\\program files (x86)\\internet explorer\\iexplore.exe";
    QTest::newRow("explorer alone") << QStringList{ie} << "c:\\program files\\internet explorer\\iexplore.exe";
    QTest::newRow("other case on disk") << QStringList{QStringLiteral("Program Files/Mozilla Firefox/FIREFOX.EXE")}
                                        << "c:\\program files\\mozilla firefox\\firefox.exe";
    QTest::newRow("a folder is no browser") << QStringList{ff + u'/'} << "";
}

// Guards the browser the portal opens in, and that without one the program ends before its window.
void TestStartup::browserCandidatesInOrder()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, chosen);
    Rig rig;
    for (const QString &path : installed) {
        if (path.endsWith(u'/'))
            QDir().mkpath(rig.onC(path));
        else
            rig.installBrowser(path);
    }
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\n");
    QCOMPARE(rig.start(), !chosen.isEmpty());
    QCOMPARE(rig.session->vars().BrowserPath, chosen);
    QCOMPARE(rig.host->messages, chosen.isEmpty() ? QStringList{QStringLiteral("Browser not found, Call QRN")} : QStringList());
    QCOMPARE(rig.runtime->hasEnded(), chosen.isEmpty());
    QCOMPARE(rig.main().isVisible(), !chosen.isEmpty());
    QCOMPARE(rig.runtime->isOpen(rig.session->vars().LogFileNo), !chosen.isEmpty());
}

void TestStartup::endingTheProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("main window closed") << "close main";
    QTest::newRow("Exit") << "Exit";
    QTest::newRow("setup window closed, nothing saved") << "close setup";
}

// Guards the end of a run: the log closed, no box, and nothing typed in the setup window saved.
void TestStartup::endingTheProgram()
{
    QFETCH(QString, how);
    Rig rig;
    QVERIFY(rig.startWith("site-id:ab12\r\nsitefmt:NS2\r\n"));
    if (how == QLatin1String("close main")) {
        rig.main().close();
    } else if (how == QLatin1String("Exit")) {
        rig.click("Command1");
    } else {
        rig.click("CmndSetup");
        rig.setup().SiteIDText()->setText(QStringLiteral("zz99"));
        rig.setup().close();
    }
    QVERIFY(rig.runtime->hasEnded());
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
    QVERIFY(rig.host->messages.isEmpty());
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), QByteArray("site-id:ab12\r\nsitefmt:NS2\r\n"));
}

// Guards a run whose log cannot be opened: it goes on, and nothing meant for the log lands elsewhere.
void TestStartup::logThatCannotOpenIsSkipped()
{
    Rig rig;
    QDir().mkpath(rig.onC(QStringLiteral("qrn/log/qrnweb.txt")));   // a folder where the log should be
    QVERIFY(rig.startWith("site-id:ab12\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n", {QStringLiteral("A.001")}));
    rig.click("CmndSetup");
    rig.click("CmndSaveSetup");
    rig.click("SendClaims");
    QCOMPARE(rig.host->starts.size(), 1);
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")).count("\r\n"), 5);
    QVERIFY(!rig.read(QStringLiteral("qrn/setup.fil")).contains("copy"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
