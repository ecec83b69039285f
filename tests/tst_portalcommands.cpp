#include "Rig.h"
#include "session/Addresses.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {
const QByteArray nulInSiteId("site-id:ab\0" "12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n", 62);
const QString resend = QStringLiteral("Check with QRN before executing this command. It could result in a duplicate file "
                                      "of claims being sent. Click Yes to continue.");
const QString badSiteId = QStringLiteral("The site id holds a character that cannot be sent");
} // namespace

class TestPortalCommands : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<QString>("before");   // what happens first: "typed X", "no browser", "answer N"
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("opened");   // the browser's argument, once per start
        QTest::addColumn<QStringList>("told");     // the start of each box
        QTest::addColumn<bool>("logOpen");

        const QString portal = PortalAddress + QStringLiteral("ab12");
        const QByteArray ab12("site-id:ab12\r\n");
        QTest::newRow("Get Reports") << ab12 << "" << QStringList{"GetReports"} << QStringList{portal} << QStringList() << false;
        QTest::newRow("Get Reports without a site id") << QByteArray() << "" << QStringList{"GetReports"} << QStringList{PortalAddress}
                                                       << QStringList() << false;
        QTest::newRow("a site id typed in the main window is not used") << ab12 << "typed ZZ99" << QStringList{"GetReports"}
                                                                        << QStringList{portal} << QStringList() << false;
        QTest::newRow("Resend Claims, Yes") << ab12 << "answer 6" << QStringList{"Command2"} << QStringList{portal}
                                            << QStringList{resend} << false;
        QTest::newRow("Resend Claims, No") << ab12 << "answer 7" << QStringList{"Command2"} << QStringList() << QStringList{resend}
                                           << true;
        QTest::newRow("web site, twice") << ab12 << "" << QStringList{"CmdQRNWebSite", "CmdQRNWebSite"}
                                         << QStringList{WebSiteAddress, WebSiteAddress} << QStringList() << true;
        QTest::newRow("browser gone") << ab12 << "no browser" << QStringList{"GetReports"} << QStringList()
                                      << QStringList{"The browser c:\\program files\\mozilla firefox\\firefox.exe could not be started: "} << false;
        for (const char *button : {"GetReports", "Command2", "SendClaims"})
            QTest::addRow("NUL in the site id, %s", button) << nulInSiteId << "" << QStringList{button} << QStringList()
                                                            << (button == QByteArray("Command2") ? QStringList{resend, badSiteId}
                                                                                                 : QStringList{badSiteId})
                                                            << true;
    }

    // Guards the portal address each command opens, and when it opens none: a wrong site id would show
    // another practice's claims, a second start would upload twice.
    void commands()
    {
        QFETCH(QByteArray, setup);
        QFETCH(QString, before);
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, told);
        QFETCH(bool, logOpen);

        Rig rig;
        QVERIFY(rig.startWith(setup, {QStringLiteral("A.CLM")}));
        if (before.startsWith(QLatin1String("typed "))) {
            rig.main().YourSiteID()->clear();
            QTest::keyClicks(rig.main().YourSiteID(), before.mid(6));
        } else if (before == QLatin1String("no browser")) {
            QFile::remove(rig.onC(QStringLiteral("program files/mozilla firefox/firefox.exe")));
        } else if (before.startsWith(QLatin1String("answer "))) {
            rig.host->answers << Host::Answer(before.mid(7).toInt());
        }
        for (const QString &button : clicks)
            rig.click(qPrintable(button));

        QStringList arguments;
        for (const TestHost::Start &start : std::as_const(rig.host->starts))
            arguments << start.argument;
        QCOMPARE(arguments, opened);
        QCOMPARE(rig.host->messages.size(), told.size());
        for (qsizetype i = 0; i < told.size(); ++i)
            QVERIFY2(rig.host->messages[i].startsWith(told[i]), qPrintable(rig.host->messages[i]));
        if (clicks.contains(QStringLiteral("Command2")))
            QCOMPARE(rig.host->messageButtons.first(), Host::Buttons::YesNo);
        QCOMPARE(rig.runtime->isOpen(rig.session->vars().LogFileNo), logOpen);
        QCOMPARE(rig.files(QStringLiteral("claimin")), QStringList{QStringLiteral("A.CLM")});
    }
};

QTEST_MAIN(TestPortalCommands)
#include "tst_portalcommands.moc"
