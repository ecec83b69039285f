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

// The setup window as a person fills it in.
class TestSetupWindow : public QObject
{
    Q_OBJECT

private slots:
    // Guards the site id's Change: used at every keystroke, shown in the main window only at four characters.
    void siteIdTypedACharacterAtATime()
    {
        Rig rig;
        openSetup(rig);
        const QString typed = u"ab123"_s, shownAfter[] = {{}, {}, {}, u"AB12"_s, u"AB12"_s};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(rig.setup().SiteIDText(), typed[i].toLatin1());
            QCOMPARE(rig.session->vars().SiteId, typed.left(i + 1));
            QCOMPARE(rig.main().YourSiteID()->text(), shownAfter[i]);
        }
        rig.setup().SiteIDText()->selectAll();
        QTest::keyClick(rig.setup().SiteIDText(), Qt::Key_Delete);
        QVERIFY(rig.session->vars().SiteId.isEmpty());
        QCOMPARE(rig.main().YourSiteID()->text(), u"AB12"_s);
        rig.click("Command1");
        rig.click("SendClaims");
        QCOMPARE(rig.host->messages, QStringList{u"Please Enter Your Site ID in Setup"_s});
    }

    // Guards the format code's Change: capitals exactly when it is three characters long.
    void formatCodeTurnsUpperAtThreeCharacters()
    {
        Rig rig;
        openSetup(rig);
        QLineEdit *format = rig.setup().SftwrFormatText();
        QTest::keyClicks(format, u"sd"_s);
        QCOMPARE(format->text(), u"sd"_s);
        QTest::keyClick(format, Qt::Key_W);
        QCOMPARE(format->text(), u"SDW"_s);
        format->setText(u"sdwx"_s);
        QCOMPARE(format->text(), u"sdwx"_s);
        QTest::keyClick(format, Qt::Key_Backspace);
        QCOMPARE(format->text(), u"SDW"_s);
    }

    // Guards the list and its picks: the catalogue in order, nothing chosen on opening or tabbing in,
    // each pick, by mouse or arrow key, replacing what was typed with its preset; a header only names itself.
    void catalogueFillsThePreset()
    {
        Rig rig;
        openSetup(rig);
        Form3 &setup = rig.setup();
        QListWidget *list = setup.SftwrList();
        const auto entries = SoftwareCatalogue::entries();
        QCOMPARE(list->count(), qsizetype(entries.size()));
        QApplication::setActiveWindow(&setup);
        QVERIFY(QTest::qWaitForWindowActive(&setup));
        setup.Dir1()->setFocus();
        QTest::keyClick(setup.Dir1(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QVERIFY(list->selectedItems().isEmpty());
        rig.edit({u"SftwrFormatText=xyz1"_s, u"FilePathText=C:\\MYCLAIMS"_s, u"FileNameText=*.MY"_s});
        const QString folder = setup.Dir1()->path();
        for (int row = 0; row < list->count(); ++row) {
            const SoftwareCatalogue::Entry &entry = entries[size_t(row)];
            QCOMPARE(list->item(row)->text(), entry.listed);
            if (entry.key.isEmpty())
                continue;
            if (row % 2)
                pick(list, row);
            else
                QTest::keyClick(list, Qt::Key_Down);
            const QStringList shown{setup.SftwrText()->text(), rig.session->vars().SelectedSoftware, setup.SftwrFormatText()->text(),
                                    setup.FilePathText()->text(), setup.FileNameText()->text()};
            QCOMPARE(shown, (QStringList{entry.listed, entry.listed, entry.format, entry.folder, entry.fileName}));
        }
        QCOMPARE(setup.Dir1()->path(), folder);
        QVERIFY(setup.SiteIDText()->text().isEmpty());
        QCOMPARE(list->selectedItems().size(), 1);
        pick(list, 0);
        QCOMPARE(setup.SftwrText()->text(), entries.back().listed);
        pick(list, 10);
        QCOMPARE(setup.SftwrText()->text(), u"----Medical Software----"_s);
        QCOMPARE(rig.session->vars().SelectedSoftware, u"----Medical Software----"_s);
        QCOMPARE(setup.SftwrFormatText()->text(), entries.back().format);
    }

    void selectors_data()
    {
        QTest::addColumn<QString>("drive");   // chosen in the drive list, or empty
        QTest::addColumn<QString>("opened");  // folders opened in turn, by Enter
        QTest::addColumn<QString>("folder");  // the folder list afterwards
        QTest::addColumn<QString>("claimFolder");
        QTest::addColumn<QString>("told");
        QTest::newRow("as it opens") << "" << "" << "C:\\qrn" << "C:\\STORED" << "";
        QTest::newRow("up to the root and down") << "" << "C:\\ SOFTDENT" << "C:\\SOFTDENT" << "C:\\SOFTDENT" << "";
        QTest::newRow("another drive") << "d:" << "Data" << "D:\\Data" << "D:\\Data" << "";
        QTest::newRow("a drive that cannot be read") << "e:" << "" << "C:\\qrn" << "C:\\STORED" << "Drive E: cannot be read.";
    }

    // Guards the drive and folder lists: they fill the claim folder box, refuse a drive that cannot
    // be read, and never move the program's own working folder or the folder in use.
    void selectors()
    {
        QFETCH(QString, drive);
        QFETCH(QString, opened);
        QFETCH(QString, folder);
        QFETCH(QString, claimFolder);
        QFETCH(QString, told);
        Rig rig;
        rig.write(u"SOFTDENT/x"_s);
        rig.addDrive(u"d:"_s, u"d_drive"_s);
        QDir().mkpath(rig.dir.filePath(u"d_drive/Data"_s));
        QFile::link(rig.dir.filePath(u"gone"_s), rig.driveFolder + u"/e:"_s);
        openSetup(rig, "sitepat:C:\\STORED\r\n");
        DriveSelector *drives = rig.setup().Drive1();
        FolderSelector *dir = rig.setup().Dir1();
        QCOMPARE(drives->currentText().left(2), u"c:"_s);
        if (!drive.isEmpty())
            drives->setCurrentIndex(drives->findText(drive, Qt::MatchStartsWith));
        for (const QString &name : Rig::list(opened)) {
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
        QCOMPARE(rig.runtime->currentFolder(), u"c:\\qrn"_s);
        QCOMPARE(rig.session->vars().ClaimPath, u"C:\\STORED\\"_s);

        // A single click opens nothing; a double click opens the folder.
        const QPoint top = dir->visualItemRect(dir->item(0)).center();
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, top);
        QCOMPARE(dir->path(), folder);
        QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, top);
        QCOMPARE(dir->path(), folder.left(3));
    }

    void help_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Help shows") << "HelpCommand" << true;
        QTest::newRow("Help twice hides") << "HelpCommand HelpCommand" << false;
        QTest::newRow("Help thrice shows") << "HelpCommand HelpCommand HelpCommand" << true;
        QTest::newRow("label while hidden") << "Label10 Label5" << false;
        QTest::newRow("Help after a label") << "Label5 HelpCommand" << true;
        QTest::newRow("Label5 hides") << "HelpCommand Label5" << false;
        QTest::newRow("Label10 hides") << "HelpCommand Label10" << false;
    }

    // Guards the help panel's switches and that it shows the help text whole.
    void help()
    {
        QFETCH(QString, clicks);
        QFETCH(bool, shown);
        Rig rig;
        openSetup(rig);
        QPlainTextEdit *panel = rig.setup().HelpPanel();
        QVERIFY(panel->isHidden());
        for (const QString &name : Rig::list(clicks))
            QTest::mouseClick(rig.find(qPrintable(name)), Qt::LeftButton);
        QCOMPARE(panel->isVisible(), shown);
        const bool asked = clicks.contains(u"HelpCommand");
        QCOMPARE(panel->toPlainText(), asked ? QString(HelpText::text()).replace(u"\r\n"_s, u"\n"_s) : QString());
    }

    // Guards a new practice's way in: pick the software, type the site id, look back at the main
    // window (every field kept), save, start again, send.
    void newPracticeSetsUpAndRestarts()
    {
        Rig rig;
        openSetup(rig);
        QVERIFY(!rig.main().isVisible());
        pick(rig.setup().SftwrList(), 8);
        QTest::keyClicks(rig.setup().SiteIDText(), u"ab12"_s);
        rig.click("Command1");
        QVERIFY(rig.main().isVisible() && !rig.setup().isVisible());
        QCOMPARE(rig.main().YourSiteID()->text(), u"AB12"_s);
        QVERIFY(!rig.exists(u"qrn/setup.fil"_s));
        rig.click("CmndSetup");
        QCOMPARE(rig.setup().SiteIDText()->text(), u"ab12"_s);
        rig.click("CmndSaveSetup");
        QVERIFY(rig.host->messages.isEmpty() && rig.setup().isVisible());
        QCOMPARE(rig.read(u"qrn/setup.fil"_s),
                 QByteArray("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"));
        QVERIFY(rig.session->vars().ClaimPath.isEmpty());   // the new folder waits for the next start

        rig.write(u"SoftDent/CLAIMS.REP"_s);
        QVERIFY(rig.restart());
        QCOMPARE(rig.setup().SftwrText()->text(), u"SOFTDENT"_s);
        QCOMPARE(rig.main().YourSiteID()->text(), u"AB12"_s);
        rig.click("SendClaims");
        QCOMPARE(rig.files(u"qrn/claims"_s), QStringList{u"CLAIMS.SDW"_s});
        QVERIFY(rig.files(u"SoftDent"_s).isEmpty());
    }
};

QTEST_MAIN(TestSetupWindow)
#include "tst_setupwindow.moc"
