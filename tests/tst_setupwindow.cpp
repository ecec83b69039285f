#include "Rig.h"
#include "setup/HelpText.h"
#include "setup/SoftwareCatalogue.h"
#include "windows/DriveSelector.h"
#include "windows/FolderSelector.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSetupWindow : public QObject
{
    Q_OBJECT

private slots:
    void siteIdTypedACharacterAtATime();
    void formatCodeTurnsUpperAtThreeCharacters();
    void catalogueFillsThePreset();
    void selectors_data();
    void selectors();
    void help_data();
    void help();
    void newPracticeSetsUpAndRestarts();
};

namespace {

void openSetup(Rig &rig, const QByteArray &setup = {})
{
    QVERIFY(rig.startWith(setup));
    rig.click("CmndSetup");
}

void pick(QListWidget *list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

// Guards the site id's Change: used at every keystroke, shown in the main window only at four characters.
void TestSetupWindow::siteIdTypedACharacterAtATime()
{
    Rig rig;
    openSetup(rig);
    QLineEdit *siteId = rig.setup().SiteIDText();
    QLineEdit *shown = rig.main().YourSiteID();
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("ab1")}) {
        QTest::keyClick(siteId, text.back().toLatin1());
        QCOMPARE(rig.session->vars().SiteId, text);
        QVERIFY(shown->text().isEmpty());
    }
    QTest::keyClick(siteId, Qt::Key_2);
    QCOMPARE(rig.session->vars().SiteId, QStringLiteral("ab12"));
    QCOMPARE(shown->text(), QStringLiteral("AB12"));
    QCOMPARE(siteId->text(), QStringLiteral("ab12"));
    QTest::keyClick(siteId, Qt::Key_3);
    QCOMPARE(rig.session->vars().SiteId, QStringLiteral("ab123"));
    QCOMPARE(shown->text(), QStringLiteral("AB12"));

    siteId->selectAll();
    QTest::keyClick(siteId, Qt::Key_Delete);
    QVERIFY(rig.session->vars().SiteId.isEmpty());
    QCOMPARE(shown->text(), QStringLiteral("AB12"));
    QTest::mouseClick(rig.setup().findChild<QWidget *>(QStringLiteral("Command1")), Qt::LeftButton);
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Please Enter Your Site ID in Setup")});
}

// Guards the format code's Change: capitals exactly when it is three characters long.
void TestSetupWindow::formatCodeTurnsUpperAtThreeCharacters()
{
    Rig rig;
    openSetup(rig);
    QLineEdit *format = rig.setup().SftwrFormatText();
    QTest::keyClicks(format, QStringLiteral("sd"));
    QCOMPARE(format->text(), QStringLiteral("sd"));
    QTest::keyClick(format, Qt::Key_W);
    QCOMPARE(format->text(), QStringLiteral("SDW"));
    format->setText(QStringLiteral("sdwx"));
    QCOMPARE(format->text(), QStringLiteral("sdwx"));
    format->end(false);
    QTest::keyClick(format, Qt::Key_Backspace);
    QCOMPARE(format->text(), QStringLiteral("SDW"));
}

// Guards the list and its picks: the catalogue in order, nothing chosen on opening or tabbing in,
// each pick, by mouse or arrow key, replacing what was typed with its preset; a header only names itself.
void TestSetupWindow::catalogueFillsThePreset()
{
    Rig rig;
    openSetup(rig);
    QListWidget *list = rig.setup().SftwrList();
    const auto entries = SoftwareCatalogue::entries();
    QCOMPARE(list->count(), qsizetype(entries.size()));
    QApplication::setActiveWindow(&rig.setup());
    QVERIFY(QTest::qWaitForWindowActive(&rig.setup()));
    rig.setup().Dir1()->setFocus();
    QTest::keyClick(rig.setup().Dir1(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    QVERIFY(list->selectedItems().isEmpty());
    rig.edit({"SftwrFormatText=xyz1", "FilePathText=C:\\MYCLAIMS", "FileNameText=*.MY"});
    const QString folder = rig.setup().Dir1()->path();
    for (int row = 0; row < list->count(); ++row) {
        const SoftwareCatalogue::Entry &entry = entries[size_t(row)];
        QCOMPARE(list->item(row)->text(), entry.listed);
        if (entry.key.isEmpty())
            continue;
        if (row % 2)
            pick(list, row);
        else
            QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(rig.setup().SftwrText()->text(), entry.listed);
        QCOMPARE(rig.session->vars().SelectedSoftware, entry.listed);
        QCOMPARE(rig.setup().SftwrFormatText()->text(), entry.format);
        QCOMPARE(rig.setup().FilePathText()->text(), entry.folder);
        QCOMPARE(rig.setup().FileNameText()->text(), entry.fileName);
    }
    QCOMPARE(rig.setup().Dir1()->path(), folder);
    QVERIFY(rig.setup().SiteIDText()->text().isEmpty());
    QCOMPARE(list->selectedItems().size(), 1);

    pick(list, 0);
    QCOMPARE(rig.setup().SftwrText()->text(), entries.back().listed);
    pick(list, 10);
    QCOMPARE(rig.setup().SftwrText()->text(), u"----Medical Software----"_s);
    QCOMPARE(rig.session->vars().SelectedSoftware, u"----Medical Software----"_s);
    QCOMPARE(rig.setup().SftwrFormatText()->text(), entries.back().format);
}

void TestSetupWindow::selectors_data()
{
    QTest::addColumn<QString>("drive");      // chosen in the drive list, or empty
    QTest::addColumn<QStringList>("opened"); // folders opened in turn, by Enter
    QTest::addColumn<QString>("folder");     // the folder list afterwards
    QTest::addColumn<QString>("claimFolder");
    QTest::addColumn<QString>("told");
    QTest::newRow("as it opens") << "" << QStringList() << "C:\\qrn" << "C:\\STORED" << "";
    QTest::newRow("up to the root and down") << "" << QStringList{"C:\\", "SOFTDENT"} << "C:\\SOFTDENT" << "C:\\SOFTDENT" << "";
    QTest::newRow("another drive") << "d:" << QStringList{"Data"} << "D:\\Data" << "D:\\Data" << "";
    QTest::newRow("a drive that cannot be read") << "e:" << QStringList() << "C:\\qrn" << "C:\\STORED" << "Drive E: cannot be read.";
}

// Guards the drive and folder lists: they fill the claim folder box, refuse a drive that cannot
// be read, and never move the program's own working folder or the folder in use.
void TestSetupWindow::selectors()
{
    QFETCH(QString, drive);
    QFETCH(QStringList, opened);
    QFETCH(QString, folder);
    QFETCH(QString, claimFolder);
    QFETCH(QString, told);
    Rig rig;
    QDir().mkpath(rig.onC(QStringLiteral("SOFTDENT")));
    QDir().mkpath(rig.dir.filePath(QStringLiteral("d_drive/Data")));
    QFile::link(rig.dir.filePath(QStringLiteral("d_drive")), rig.driveFolder + QStringLiteral("/d:"));
    QFile::link(rig.dir.filePath(QStringLiteral("gone")), rig.driveFolder + QStringLiteral("/e:"));
    openSetup(rig, "sitepat:C:\\STORED\r\n");
    DriveSelector *drives = rig.setup().Drive1();
    FolderSelector *dir = rig.setup().Dir1();
    QCOMPARE(drives->currentText().left(2), QStringLiteral("c:"));
    if (!drive.isEmpty())
        drives->setCurrentIndex(drives->findText(drive, Qt::MatchStartsWith));
    for (const QString &name : opened) {
        int row = 0;
        while (row < dir->count() && dir->item(row)->text().trimmed() != name)
            ++row;
        QVERIFY2(row < dir->count(), qPrintable(name));
        dir->setCurrentRow(row);
        QTest::keyClick(dir, Qt::Key_Return);
    }
    QCOMPARE(dir->path(), folder);
    QCOMPARE(rig.setup().FilePathText()->text(), claimFolder);
    QCOMPARE(drives->currentText().left(2), folder.left(2).toLower());
    QCOMPARE(rig.host->messages, told.isEmpty() ? QStringList() : QStringList{told});
    QCOMPARE(rig.runtime->currentFolder(), QStringLiteral("c:\\qrn"));
    QCOMPARE(rig.session->vars().ClaimPath, QStringLiteral("C:\\STORED\\"));

    // A single click opens nothing; a double click opens the folder.
    const QPoint top = dir->visualItemRect(dir->item(0)).center();
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, top);
    QCOMPARE(dir->path(), folder);
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, top);
    QCOMPARE(dir->path(), folder.left(3));
}

void TestSetupWindow::help_data()
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

// Guards the help panel's switches and that it shows the help text whole.
void TestSetupWindow::help()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, shown);
    Rig rig;
    openSetup(rig);
    QPlainTextEdit *panel = rig.setup().HelpPanel();
    QVERIFY(panel->isHidden());
    for (const QString &name : clicks)
        QTest::mouseClick(rig.find<QWidget>(qPrintable(name)), Qt::LeftButton);
    QCOMPARE(panel->isVisible(), shown);
    if (clicks.contains(QStringLiteral("HelpCommand")))
        QCOMPARE(panel->toPlainText(), QString(HelpText::text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    else
        QVERIFY(panel->toPlainText().isEmpty());
}

// Guards a new practice's way in: pick the software, type the site id, look back at the main
// window (every field kept), save, start again, send.
void TestSetupWindow::newPracticeSetsUpAndRestarts()
{
    Rig rig;
    openSetup(rig);
    QVERIFY(!rig.main().isVisible());
    pick(rig.setup().SftwrList(), 8);
    QTest::keyClicks(rig.setup().SiteIDText(), QStringLiteral("ab12"));
    QTest::mouseClick(rig.setup().findChild<QWidget *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(rig.main().isVisible() && !rig.setup().isVisible());
    QCOMPARE(rig.main().YourSiteID()->text(), QStringLiteral("AB12"));
    QVERIFY(!rig.exists(QStringLiteral("qrn/setup.fil")));
    rig.click("CmndSetup");
    QCOMPARE(rig.setup().SiteIDText()->text(), QStringLiteral("ab12"));
    rig.click("CmndSaveSetup");
    QVERIFY(rig.host->messages.isEmpty());
    QVERIFY(rig.setup().isVisible());
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")),
             QByteArray("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"));
    QVERIFY(rig.session->vars().ClaimPath.isEmpty());   // the new folder waits for the next start

    rig.write(QStringLiteral("SoftDent/CLAIMS.REP"));
    QVERIFY(rig.restart());
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("SOFTDENT"));
    QCOMPARE(rig.main().YourSiteID()->text(), QStringLiteral("AB12"));
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("CLAIMS.SDW")});
    QVERIFY(rig.files(QStringLiteral("SoftDent")).isEmpty());
}

QTEST_MAIN(TestSetupWindow)
#include "tst_setupwindow.moc"
