#include "Rig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QFontInfo>
#include <QTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowProperties();
    void controls_data();
    void controls();
    void labelsAsDesigned();
    void tabOrder();
    void enterAndEscapeStartNothing();
    void typedSiteIdIsNotUsed();
};

void TestMainWindow::initTestCase()
{
    Rig probe;
    if (probe.main().logicalDpiX() != 96)
        QSKIP("the layout figures below are for a 96 DPI screen");
}

void TestMainWindow::windowProperties()
{
    Rig rig;
    rig.installBrowser();
    rig.start();
    QCOMPARE(rig.main().windowTitle(), QStringLiteral("QRNWeb Version 1.3"));
    QCOMPARE(rig.main().size(), QSize(553, 324));
    QCOMPARE(rig.main().font().pointSizeF(), 8.25);
    QCOMPARE(rig.main().font().weight(), QFont::Normal);
}

void TestMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");

    QTest::newRow("Label1") << "Label1" << "Tessamor Technical Consultants, Inc." << QRect(1920, 240, 4335, 375) << 12.0 << true;
    QTest::newRow("YourSiteID") << "YourSiteID" << "" << QRect(2880, 2280, 615, 285) << 8.25 << false;
    QTest::newRow("Label4") << "Label4" << "*" << QRect(1560, 1440, 5055, 615) << 8.25 << false;
    QTest::newRow("SendClaims") << "SendClaims" << "Send Claims" << QRect(1200, 2880, 1215, 375) << 8.25 << true;
    QTest::newRow("CmndSetup") << "CmndSetup" << "Setup" << QRect(5520, 2280, 1455, 375) << 8.25 << true;
}

void TestMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(qreal, points);
    QFETCH(bool, bold);

    Rig rig;
    QWidget *control = rig.main().findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), Rig::designed(twips));
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
    // The face asked for is the one drawn; only a substitute for the designed face is narrowed.
    QCOMPARE(QFontInfo(control->font()).family(), control->font().family());
    QCOMPARE(control->font().stretch() == 90, control->font().family() != QLatin1String("MS Sans Serif"));
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault() && !button->autoDefault());
    } else if (auto *label = qobject_cast<QLabel *>(control); label && text != QLatin1String("*")) {
        QCOMPARE(label->text(), text);
    }
}

void TestMainWindow::labelsAsDesigned()
{
    Rig rig;
    auto *contacts = rig.main().findChild<QLabel *>(QStringLiteral("Label4"));
    QVERIFY(contacts->wordWrap());
    QVERIFY(contacts->text().contains(QRegularExpression(
        QStringLiteral("^Medical Support:\\S.* {7}Dental Support:\\S.* Email:\\S+ {11}Email:\\S+$"))));
    for (const char *name : {"Label1", "Label2", "Label4"}) {
        auto *label = rig.main().findChild<QLabel *>(QLatin1String(name));
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QCOMPARE(label->frameShadow(), QFrame::Sunken);
        QCOMPARE(label->lineWidth(), 1);
    }
    auto *siteLabel = rig.main().findChild<QLabel *>(QStringLiteral("Label3"));
    QCOMPARE(siteLabel->frameShape(), QFrame::NoFrame);
    QVERIFY(siteLabel->alignment() & Qt::AlignLeft);
    QCOMPARE(rig.main().YourSiteID()->accessibleName(), QStringLiteral("Your Site ID is"));
}

void TestMainWindow::tabOrder()
{
    Rig rig;
    rig.installBrowser();
    rig.start();
    QApplication::setActiveWindow(&rig.main());
    QVERIFY(QTest::qWaitForWindowActive(&rig.main()));
    rig.main().YourSiteID()->setFocus();
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTRY_VERIFY(QApplication::focusWidget());
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    visited << QApplication::focusWidget()->objectName();
    QCOMPARE(visited, (QStringList{"YourSiteID", "SendClaims", "GetReports", "Command1", "Command2", "CmdQRNWebSite",
                                   "CmndSetup", "YourSiteID"}));
}

void TestMainWindow::enterAndEscapeStartNothing()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\nsitepat:C:\\IN\r\nsitefil:*.*\r\n");
    rig.write(QStringLiteral("in/A.001"));
    rig.start();
    for (const char *name : {"YourSiteID", "SendClaims"}) {
        QWidget *focus = rig.main().findChild<QWidget *>(QLatin1String(name));
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Escape);
    }
    QVERIFY(rig.host->messages.isEmpty());
    QVERIFY(rig.host->starts.isEmpty());
    QVERIFY(rig.main().isVisible());
    QVERIFY(rig.exists(QStringLiteral("in/A.001")));
}

void TestMainWindow::typedSiteIdIsNotUsed()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\n");
    rig.start();
    rig.main().YourSiteID()->clear();
    QTest::keyClicks(rig.main().YourSiteID(), QStringLiteral("ZZ99"));
    QCOMPARE(rig.session->vars().SiteId, QStringLiteral("ab12"));
    rig.click("GetReports");
    QVERIFY(rig.host->starts[0].argument.endsWith(QLatin1String("/ab12")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
