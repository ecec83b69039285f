#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

// Start-up as a practice meets it, and the end of a run.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // Guards the first start of a new practice: the program's folders, a fresh log, one box, drive C.
    void firstStartWithoutSetup()
    {
        Rig rig;
        rig.installBrowser();
        rig.write(u"qrn/claims/keep.txt"_s, "x");   // folders that exist already are no error
        rig.write(u"qrn/log/qrnweb.txt"_s, "Start QRNWeb session on 01-01-2026 at 23:59:59\r\ncopy x\r\n");
        // Started from another drive, it works on drive C all the same.
        rig.addDrive(u"d:"_s, u"d_drive"_s);
        QVERIFY(rig.runtime->changeDrive(u"d:"_s));
        QVERIFY(rig.start());
        for (const char *folder : {"qrn", "qrn/claims", "qrn/claimsbu", "qrn/reports", "qrn/user", "qrn/log"})
            QVERIFY2(QFileInfo(rig.onC(QLatin1String(folder))).isDir(), folder);
        QCOMPARE(rig.read(u"qrn/log/qrnweb.txt"_s), QByteArray("Start QRNWeb session on 03-04-2026 at 09:05:07\r\n"));
        QCOMPARE(rig.host->messages, QStringList{u"Setup Required, Click OK and then Click on Setup"_s});
        QCOMPARE(rig.host->messageButtons, QList<Host::Buttons>{Host::Buttons::Ok});
        QVERIFY(rig.main().isVisible() && rig.logOpen());
        QVERIFY(rig.session->vars().ClaimPath.isEmpty());
        QCOMPARE(rig.runtime->currentFolder(), u"c:\\qrn"_s);
    }

    void browserCandidatesInOrder_data()
    {
        QTest::addColumn<QString>("installed");   // below C:, apart by '|'
        QTest::addColumn<QString>("chosen");
        const QString ff = u"program files%1/mozilla firefox/firefox.exe"_s, ie = u"program files%1/internet explorer/iexplore.exe"_s;
        const QString x86 = u" (x86)"_s;
        QTest::newRow("firefox in both, x86 wins") << ff.arg(QString()) + u'|' + ff.arg(x86) << ff.arg(x86);
        QTest::newRow("firefox before explorer") << ie.arg(x86) + u'|' + ff.arg(QString()) << ff.arg(QString());
        QTest::newRow("explorer x86 before explorer") << ie.arg(QString()) + u'|' + ie.arg(x86) << ie.arg(x86);
        QTest::newRow("explorer alone") << ie.arg(QString()) << ie.arg(QString());
        QTest::newRow("other case on disk") << u"Program Files/Mozilla Firefox/FIREFOX.EXE"_s << ff.arg(QString());
        QTest::newRow("a folder is no browser") << ff.arg(QString()) + u'/' << QString();
    }

    // Guards the browser the portal opens in, and that without one the program ends before its window.
    void browserCandidatesInOrder()
    {
        QFETCH(QString, installed);
        QFETCH(QString, chosen);
        Rig rig;
        for (const QString &path : installed.split(u'|')) {
            if (path.endsWith(u'/'))
                QDir().mkpath(rig.onC(path));
            else
                rig.installBrowser(path);
        }
        rig.write(u"qrn/setup.fil"_s, "site-id:ab12\r\n");
        const bool found = !chosen.isEmpty();
        QCOMPARE(rig.start(), found);
        QCOMPARE(rig.session->vars().BrowserPath, found ? u"c:\\"_s + QString(chosen).replace(u'/', u'\\') : QString());
        QCOMPARE(rig.host->messages, found ? QStringList() : QStringList{u"Browser not found, Call QRN"_s});
        QCOMPARE(rig.runtime->hasEnded(), !found);
        QCOMPARE(rig.main().isVisible(), found);
        QCOMPARE(rig.logOpen(), found);
    }

    void endingTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("main window closed") << "close main";
        QTest::newRow("Exit") << "Exit";
        QTest::newRow("setup window closed, nothing saved") << "close setup";
    }

    // Guards the end of a run: the log closed, no box, and nothing typed in the setup window saved.
    void endingTheProgram()
    {
        QFETCH(QString, how);
        Rig rig;
        QVERIFY(rig.startWith("site-id:ab12\r\nsitefmt:NS2\r\n"));
        if (how == u"close main") {
            rig.main().close();
        } else if (how == u"Exit") {
            rig.click("Command1");
        } else {
            rig.click("CmndSetup");
            rig.edit({u"SiteIDText=zz99"_s});
            rig.setup().close();
        }
        QVERIFY(rig.runtime->hasEnded() && !rig.logOpen());
        QVERIFY(rig.host->messages.isEmpty());
        QCOMPARE(rig.read(u"qrn/setup.fil"_s), QByteArray("site-id:ab12\r\nsitefmt:NS2\r\n"));
    }

    // Guards a run whose log cannot be opened: it goes on, and nothing meant for the log lands elsewhere.
    void logThatCannotOpenIsSkipped()
    {
        Rig rig;
        QDir().mkpath(rig.onC(u"qrn/log/qrnweb.txt"_s));   // a folder where the log should be
        QVERIFY(rig.startWith("site-id:ab12\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n", {u"A.001"_s}));
        rig.click("CmndSetup");
        rig.click("CmndSaveSetup");
        rig.click("SendClaims");
        QCOMPARE(rig.host->starts.size(), 1);
        QCOMPARE(rig.read(u"qrn/setup.fil"_s).count("\r\n"), 5);
        QVERIFY(!rig.read(u"qrn/setup.fil"_s).contains("copy"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
