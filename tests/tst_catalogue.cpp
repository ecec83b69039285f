#include "Rig.h"
#include "setup/SoftwareCatalogue.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "windows/FolderSelector.h"

namespace {

QListWidget *openList(Rig &rig)
{
    rig.installBrowser();
    rig.start();
    rig.click("CmndSetup");
    return rig.setup().SftwrList();
}

void pickByMouse(QListWidget *list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void listHoldsTheCatalogueInOrder();
    void picks_data();
    void picks();
    void headersChangeNothingElse();
    void pickByKeyboard();
    void tabbingIntoTheListPicksNothing();
    void pickReplacesTypedValues();
};

void TestCatalogue::listHoldsTheCatalogueInOrder()
{
    Rig rig;
    QListWidget *list = openList(rig);
    const QStringList expected{"----Dental Software----", "DBMS", "Dental 2000", "Dentrix", "EagleSoft", "EasyDent",
                               "JOEY", "OpenDental", "SoftDent", "Other Dental Software", "----Medical Software----",
                               "Medisoft", "MedLook", "LyTech", "HandyWorks", "HealthPac", "TriTech",
                               "Other Medical Software"};
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    QCOMPARE(shown, expected);
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!list->isSortingEnabled());
}

void TestCatalogue::picks_data()
{
    QTest::addColumn<QString>("software");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("DBMS") << "DBMS" << "DEN" << "????????" << "???";
    QTest::newRow("Dental 2000") << "Dental 2000" << "NS2" << "C:\\CDSDATA\\ECLAIM" << "ECLAIM.*";
    QTest::newRow("Dentrix") << "Dentrix" << "DTX" << "C:\\QRN\\USER" << "PDF";
    QTest::newRow("EagleSoft") << "EagleSoft" << "EGL" << "C:\\QRN\\USER" << "PDF";
    QTest::newRow("EasyDent") << "EasyDent" << "EZD" << "C:\\QRN\\USER" << "PDF";
    QTest::newRow("JOEY") << "JOEY" << "ECP" << "C:\\QRN\\USER" << "ECP";
    QTest::newRow("OpenDental") << "OpenDental" << "83D" << "C:\\QRN\\USER" << "*.*";
    QTest::newRow("SoftDent") << "SoftDent" << "SDW" << "C:\\SOFTDENT" << "*.REP";
    QTest::newRow("Other Dental Software") << "Other Dental Software" << "???" << "????????" << "???";
    QTest::newRow("Medisoft") << "Medisoft" << "CM5" << "C:\\QRN\\USER" << "ECLAIMS.*";
    QTest::newRow("MedLook") << "MedLook" << "CM5" << "C:\\CLAIMS" << "CLAIMS.*";
    QTest::newRow("LyTech") << "LyTech" << "CM5" << "C:\\PROGRAM FILES\\LYTEC SYSTEMS\\LYTEC MEDICAL 2001" << "ECLAIMS.*";
    QTest::newRow("HandyWorks") << "HandyWorks" << "83P" << "C:\\HWW" << "HWEBILL.DAT";
    QTest::newRow("HealthPac") << "HealthPac" << "83P" << "????????" << "???";
    QTest::newRow("TriTech") << "TriTech" << "83P" << "C:\\QRN\\??ER" << "HWEBILL.??T";
    QTest::newRow("Other Medical Software") << "Other Medical Software" << "???" << "????????" << "???";
}

void TestCatalogue::picks()
{
    QFETCH(QString, software);
    QFETCH(QString, format);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);

    Rig rig;
    QListWidget *list = openList(rig);
    const int row = list->row(list->findItems(software, Qt::MatchExactly).value(0));
    QVERIFY(row > 0);
    pickByMouse(list, row);

    QCOMPARE(rig.setup().SftwrText()->text(), software);
    QCOMPARE(rig.session->vars().SelectedSoftware, software);
    QCOMPARE(rig.session->vars().ScratchIndex, qint16(row));
    QCOMPARE(rig.setup().SftwrFormatText()->text(), format);
    QCOMPARE(rig.setup().FilePathText()->text(), folder);
    QCOMPARE(rig.setup().FileNameText()->text(), fileName);
    QVERIFY(rig.setup().SiteIDText()->text().isEmpty());
}

void TestCatalogue::headersChangeNothingElse()
{
    Rig rig;
    QListWidget *list = openList(rig);
    pickByMouse(list, 2);   // Dental 2000
    pickByMouse(list, 0);
    QCOMPARE(rig.session->vars().ScratchIndex, qint16(0));
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("Dental 2000"));
    QCOMPARE(rig.session->vars().SelectedSoftware, QStringLiteral("Dental 2000"));

    pickByMouse(list, 10);
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("----Medical Software----"));
    QCOMPARE(rig.session->vars().SelectedSoftware, QStringLiteral("----Medical Software----"));
    QCOMPARE(rig.setup().SftwrFormatText()->text(), QStringLiteral("NS2"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\CDSDATA\\ECLAIM"));
    QCOMPARE(rig.setup().FileNameText()->text(), QStringLiteral("ECLAIM.*"));
}

void TestCatalogue::pickByKeyboard()
{
    Rig rig;
    QListWidget *list = openList(rig);
    pickByMouse(list, 7);   // OpenDental
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("SoftDent"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\SOFTDENT"));
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("OpenDental"));
    QCOMPARE(rig.setup().FileNameText()->text(), QStringLiteral("*.*"));
}

void TestCatalogue::tabbingIntoTheListPicksNothing()
{
    Rig rig;
    QListWidget *list = openList(rig);
    QApplication::setActiveWindow(&rig.setup());
    QVERIFY(QTest::qWaitForWindowActive(&rig.setup()));
    rig.setup().Dir1()->setFocus();
    QTest::keyClick(rig.setup().Dir1(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(rig.setup().SftwrText()->text().isEmpty());
    QCOMPARE(rig.session->vars().ScratchIndex, qint16(0));
}

void TestCatalogue::pickReplacesTypedValues()
{
    Rig rig;
    QListWidget *list = openList(rig);
    const QString dir = rig.setup().Dir1()->path();
    rig.setup().FilePathText()->setText(QStringLiteral("C:\\MYCLAIMS"));
    rig.setup().SftwrFormatText()->setText(QStringLiteral("xyz1"));
    pickByMouse(list, 3);   // Dentrix
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\QRN\\USER"));
    QCOMPARE(rig.setup().SftwrFormatText()->text(), QStringLiteral("DTX"));
    QCOMPARE(rig.setup().Dir1()->path(), dir);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
