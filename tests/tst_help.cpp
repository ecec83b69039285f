#include "Rig.h"
#include "setup/HelpText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void textAsWritten();
    void panelStates_data();
    void panelStates();
    void panelLeavesItsSwitchesInReach();
};

void TestHelp::textAsWritten()
{
    const QString &text = HelpText::text();
    QCOMPARE(text.size(), 743);
    QCOMPARE(text.count(QStringLiteral("\r\n")), 22);
    QCOMPARE(text.count(u'\r'), 22);
    QCOMPARE(text.count(u'\n'), 22);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 23);
    for (int empty : {3, 6, 9, 12, 15, 18, 21})
        QVERIFY(lines.at(empty - 1).isEmpty());
    QCOMPARE(lines.first(), QStringLiteral("Select Path to Claim File."));
    QCOMPARE(lines.at(7), QStringLiteral("Enter the name of the file your software creates. Wild cards are accepted, i.e., *.CLM or ECLAIMS.*"));
    QCOMPARE(lines.last(), QStringLiteral("Re-Enter the Password you entered above for spelling check."));
}

void TestHelp::panelStates_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("shown");
    QTest::newRow("Help shows") << QStringList{"HelpCommand"} << true;
    QTest::newRow("Help twice hides") << QStringList{"HelpCommand", "HelpCommand"} << false;
    QTest::newRow("Help thrice shows") << QStringList{"HelpCommand", "HelpCommand", "HelpCommand"} << true;
    QTest::newRow("label while hidden") << QStringList{"Label10", "Label5"} << false;
    QTest::newRow("Help after a label") << QStringList{"Label5", "HelpCommand"} << true;
    QTest::newRow("Label5 hides") << QStringList{"HelpCommand", "Label5"} << false;
    QTest::newRow("Label10 hides") << QStringList{"HelpCommand", "Label10"} << false;
}

void TestHelp::panelStates()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, shown);
    Rig rig;
    rig.installBrowser();
    rig.start();
    rig.click("CmndSetup");
    QPlainTextEdit *panel = rig.setup().HelpPanel();
    QVERIFY(panel->isHidden());
    QVERIFY(panel->toPlainText().isEmpty());
    for (const QString &name : clicks)
        QTest::mouseClick(rig.setup().findChild<QWidget *>(name), Qt::LeftButton);
    QCOMPARE(panel->isVisible(), shown);
    if (clicks.contains(QStringLiteral("HelpCommand")))
        QCOMPARE(panel->toPlainText(), QString(HelpText::text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TestHelp::panelLeavesItsSwitchesInReach()
{
    Rig rig;
    const QRect panel = rig.setup().HelpPanel()->geometry();
    for (const char *name : {"HelpCommand", "Label10", "Label5"})
        QVERIFY2(!panel.intersects(rig.setup().findChild<QWidget *>(QLatin1String(name))->geometry()), name);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
