#include "Rig.h"
#include "setup/SoftwareCatalogue.h"
#include "windows/DriveSelector.h"
#include "windows/FolderSelector.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QStringEncoder>
#include <QTest>

namespace {

void openSetup(Rig &rig, const QByteArray &setup = {})
{
    QVERIFY(rig.startWith(setup));
    rig.click("CmndSetup");
}

} // namespace

// The setup file as start-up reads it and Save Setup writes it, and the setup window as a person fills it in.
class TestSetup : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        // The main window's site id, then the values used and the setup window's fields.
        QTest::addColumn<QStringList>("values");   // shown, site id, software, format, claim folder, file name
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("readable");   // bytes the disk gives before a read fails; -1: all
        QTest::addColumn<QString>("told");
        const auto row = [](const char *tag, const QByteArray &file, const QString &shown, const char *siteId, const char *software,
                            const char *format, const char *claimPath, const QString &fileSpec, qint64 readable = -1) {
            const QString told = readable < 0 ? QString()
                : u"The setup file c:\\qrn\\setup.fil could not be read: the disk could not be read. Click OK and then Click on Setup"_s;
            QTest::newRow(tag) << QStringList{shown, siteId, software, format, claimPath, fileSpec} << file << readable << told;
        };
        row("all five", "site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:sdw\r\nsitepat:C:\\SoftDent\r\nsitefil:*.rep\r\n", u"AB12"_s, "ab12",
            "SOFTDENT", "SDW", "C:\\SOFTDENT\\", u"*.REP"_s);
        row("as saved empty", "site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n", {}, "", "", "", "\\", {});
        row("key in capitals is skipped", "SITE-ID:ab12\r\nSITEFIL:*.CLM\r\n", {}, "", "", "", "", {});
        row("drive root doubles the backslash", "sitepat:c:\\\r\n", {}, "", "", "", "C:\\\\", {});
        row("trailing blanks go", "sitefil:*.clm   \r\n", {}, "", "", "", "", u"*.CLM"_s);
        row("leading blanks stay", "site-id: ab1\r\nsitefil:  eclaim.*\r\n", u" AB1"_s, " ab1", "", "", "", u"  ECLAIM.*"_s);
        row("last of two wins", "sitefil:A.*\r\nsite-id:zz99\r\nsitefil:B.*\r\nsite-id:ab12\r\n", u"AB12"_s, "ab12", "", "", "", u"B.*"_s);
        row("short and blank lines skipped", "sitefmt\r\n\r\nsitefmt:ns2\r\n", {}, "", "", "NS2", "", {});
        row("no final break, lone LF", "sitefmt:sdw\nsite-id:cd34", u"CD34"_s, "cd34", "", "SDW", "", {});
        row("empty file", "", {}, "", "", "", "", {});
        row("NUL bytes", QByteArray("sitefil:a\0b\r\n\0\0\0\r\n", 18), {}, "", "", "", "", u"A"_s + QChar(0) + u"B"_s);
        row("a line of megabytes", "sitefil:" + QByteArray(3 << 20, 'x'), {}, "", "", "", "", QString(3 << 20, u'X'));
        // Windows-1252, as Windows writes it: 0x92 is the typographic apostrophe, ÿ's capital is in it.
        row("bytes above 127", "sitefil:\xe9\xff\xdf\xb5\x92.clm\r\n", {}, "", "", "", "", u"\u00c9\u0178\u00df\u00b5\u2019.CLM"_s);
        // Notepad's "UTF-8" and "Unicode" (UTF-16, either byte order), each with its byte-order mark.
        row("UTF-8 with its mark", "\xef\xbb\xbfsite-id:ab12\r\nsitefil:\xc5\x81\xe2\x80\x99.clm\r\n", u"AB12"_s, "ab12", "", "", "",
            u"\u0141\u2019.CLM"_s);
        const auto utf16 = [](QStringConverter::Encoding order, const QString &text) {
            return QByteArray(QStringEncoder(order, QStringConverter::Flag::WriteBom)(text));
        };
        row("UTF-16 with its mark", utf16(QStringConverter::Utf16LE, u"site-id:ab12\r\nsitefil:\u0141\u2019.clm\r\n"_s), u"AB12"_s,
            "ab12", "", "", "", u"\u0141\u2019.CLM"_s);
        row("UTF-16 big-endian, a line of megabytes", utf16(QStringConverter::Utf16BE, u"sitefil:\U0001F600"_s + QString(3 << 20, u'x')),
            {}, "", "", "", "", u"\U0001F600"_s + QString(3 << 20, u'X'));
        row("only breaks", QByteArray(10000, '\n'), {}, "", "", "", "", {});
        // A read error halfway is no end of file: half a setup would send from the wrong folder.
        row("read fails after two lines", Rig::practice, {}, "", "", "", "", {}, 40);
        row("read fails at once", Rig::practice, {}, "", "", "", "", {}, 0);
        row("read fails after the whole file", Rig::practice, {}, "", "", "", "", {}, Rig::practice.size());
    }

    // Guards how start-up reads the file: what is shown, what is used, and that no file stops the start.
    void reading()
    {
        QFETCH(QStringList, values);
        QFETCH(QByteArray, file);
        QFETCH(qint64, readable);
        QFETCH(QString, told);

        Rig rig;
        rig.installBrowser();
        rig.write(u"qrn/setup.fil"_s, file);
        if (readable >= 0)
            rig.disk->fail(FaultyFiles::Op::Read, u"setup.fil"_s, readable);
        QVERIFY(rig.start());
        QCOMPARE(rig.host->messages.value(0).left(told.size()), told);
        QCOMPARE(rig.host->messages.size(), told.isEmpty() ? 0 : 1);
        // The setup window's fields are filled; its widgets wait until it is shown.
        QVERIFY(!rig.windows->setup());
        const Uservar &v = rig.session->vars();
        QCOMPARE((QStringList{rig.main().YourSiteID()->text(), v.SiteId, rig.setupField(SetupWindowFields::Field::Software),
                              rig.setupField(SetupWindowFields::Field::Format), v.ClaimPath, v.ClaimFileSpec}),
                 values);
        QVERIFY(!rig.session->setupWindow().isShown());
    }

    // Guards the list and its picks: the catalogue in order, nothing chosen (nor a pick run) on opening or tabbing in,
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
        QVERIFY(list->selectedItems().isEmpty() && rig.session->vars().ScratchIndex == 0);
        rig.edit({u"SftwrFormatText=xyz1"_s, u"FilePathText=C:\\MYCLAIMS"_s, u"FileNameText=*.MY"_s});
        const QString folder = setup.Dir1()->path();
        for (int row = 0; row < list->count(); ++row) {
            const SoftwareCatalogue::Entry &entry = entries[size_t(row)];
            QCOMPARE(list->item(row)->text(), entry.listed);
            if (entry.key.isEmpty())
                continue;
            if (row % 2)
                Rig::pick(list, row);
            else
                QTest::keyClick(list, Qt::Key_Down);
            const QStringList shown{setup.SftwrText()->text(), rig.session->vars().SelectedSoftware, setup.SftwrFormatText()->text(),
                                    setup.FilePathText()->text(), setup.FileNameText()->text()};
            QCOMPARE(shown, (QStringList{entry.listed, entry.listed, entry.format, entry.folder, entry.fileName}));
        }
        QCOMPARE(setup.Dir1()->path(), folder);
        QVERIFY(setup.SiteIDText()->text().isEmpty());
        QCOMPARE(list->selectedItems().size(), 1);
        Rig::pick(list, 0);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem *>{list->item(0)});
        QCOMPARE(setup.SftwrText()->text(), entries.back().listed);
        Rig::pick(list, 10);
        QCOMPARE(setup.SftwrText()->text(), u"----Medical Software----"_s);
        QCOMPARE(rig.session->vars().SelectedSoftware, u"----Medical Software----"_s);
        QCOMPARE(setup.SftwrFormatText()->text(), entries.back().format);
        // Closed and opened again, it is the same window, where the person left it.
        setup.move(setup.pos() + QPoint(40, 30));
        const QPoint at = setup.pos();
        rig.click("Command1");
        rig.click("CmndSetup");
        QCOMPARE(rig.setup().pos(), at);
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
        QTest::newRow("a drive that cannot be read") << "a:" << "" << "C:\\qrn" << "C:\\STORED" << "Drive A: cannot be read.";
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
        QDir().mkpath(rig.addDrive(u"d:"_s, u"d_drive"_s) + u"Data"_s);
        rig.addDrive(u"a:"_s, u"gone"_s, false);   // listed before C:
        openSetup(rig, "sitepat:C:\\STORED\r\n");
        DriveSelector *drives = rig.setup().Drive1();
        FolderSelector *dir = rig.setup().Dir1();
        QCOMPARE(drives->currentText(), QLatin1String(Rig::system.driveC));
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
        // The open folder's subfolders stand one step in from it.
        const auto indent = [](const QListWidgetItem *item) { return item->text().indexOf(item->text().trimmed()); };
        if (dir->currentRow() + 1 < dir->count())
            QCOMPARE(indent(dir->item(dir->currentRow() + 1)), indent(dir->currentItem()) + 2);
        QCOMPARE(rig.setup().FilePathText()->text(), claimFolder);
        QCOMPARE(drives->currentText().left(2), folder.left(2).toLower());
        QCOMPARE(rig.host->messages, told.isEmpty() ? QStringList() : QStringList{told});
        QCOMPARE(rig.runtime->currentFolder().text(), u"c:\\qrn"_s);
        QCOMPARE(rig.session->vars().ClaimPath, u"C:\\STORED\\"_s);
        // A drive that cannot be read leaves the folder list where it was.
        drives->setCurrentIndex(drives->findText(u"a:"_s, Qt::MatchStartsWith));
        QCOMPARE(dir->path(), folder);
        QCOMPARE(drives->currentText().left(2), folder.left(2).toLower());

        // A single click opens nothing; a double click opens the folder.
        const QPoint top = dir->visualItemRect(dir->item(0)).center();
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, top);
        QCOMPARE(dir->path(), folder);
        QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, top);
        QCOMPARE(dir->path(), folder.left(3));
    }

    void scenarios_data()
    {
        QTest::addColumn<QString>("script");
        const QString setupRequired = u"told Setup Required, Click OK and then Click on Setup; "_s;
        // The five records Save Setup writes, each time whole, and the values it must refuse to write
        // because they would come back as something else: then the earlier file stays.
        const QString earlier = u"site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"_s;
        const auto save = [&](const char *tag, const QString &before, const QString &edits, const QString &saved, const QString &told = {}) {
            const QString press = u"click CmndSaveSetup; "_s + (told.isEmpty() ? QString() : u"told The setup was not saved: "_s + told + u"; "_s)
                + u"read qrn/setup.fil "_s + (saved.isEmpty() ? before : saved) + u"; "_s;
            QTest::newRow(tag) << (before.isEmpty() ? setupRequired : u"setup "_s + before + u"; "_s) + u"click CmndSetup; "_s + edits + u"; "_s
                    + press + press + u"shown Form3; files qrn claims claimsbu log reports setup.fil user; log "_s + (told.isEmpty() ? u"closed"_s : u"open"_s);
        };
        save("every field, site id in small letters", {},
             u"set SiteIDText aB12; set SftwrText SoftDent; set SftwrFormatText sdw; set FilePathText C:\\SOFTDENT; set FileNameText *.REP"_s,
             earlier);
        save("nothing entered", {}, u"set SiteIDText "_s, u"site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n"_s);
        save("other lines go", u"site-id:ab12\r\nextra:line\r\n"_s, u"set SftwrText A; set SftwrFormatText B; set FilePathText C; set FileNameText D"_s,
             u"site-id:ab12\r\nsiteswr:A\r\nsitefmt:B\r\nsitepat:C\r\nsitefil:D\r\n"_s);
        save("a value cannot forge a record", earlier, u"set SftwrText Soft\r\nsitepat:C:\\EVIL"_s,
             u"site-id:ab12\r\nsiteswr:Softsitepat:C:\\EVIL\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"_s);
        save("highest 8-bit letter", earlier, u"set SftwrText Soft\u00ff"_s,
             u"site-id:ab12\r\nsiteswr:Soft\u00ff\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"_s);
        save("no-break space, the first of the upper half", earlier, u"set SftwrText Soft\u00a0Dent"_s,
             u"site-id:ab12\r\nsiteswr:Soft\u00a0Dent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"_s);
        save("typographic apostrophe in the folder", earlier, u"set FilePathText C:\\Dr Smith\u2019s"_s,
             u"site-id:ab12\r\nsiteswr:SOFTDENT\r\nsitefmt:SDW\r\nsitepat:C:\\Dr Smith\u2019s\r\nsitefil:*.REP\r\n"_s);
        save("a control character Windows-1252 lacks", earlier, u"set FilePathText C:\\A\u0080"_s, {},
             u"the claim folder holds the character \u0080"_s);
        save("a letter Windows-1252 lacks", earlier, u"set FilePathText C:\\\u0141\u00f3d\u017a"_s, {},
             u"the claim folder holds the character \u0141"_s);
        save("snowman in the software name", earlier, u"set SftwrText Soft\u2603"_s, {}, u"the software name holds the character \u2603"_s);
        // A text box takes any length, not Qt's 32,767 characters.
        const QString longName(40000, u'x');
        save("a software name of 40,000 characters", earlier, u"set SftwrText "_s + longName, QString(earlier).replace(u"SoftDent"_s, longName));
        save("folder in the file name", earlier, u"set FileNameText SUB\\*.CLM"_s, {}, u"the claim file name SUB\\*.CLM holds a folder"_s);
        // The site id's Change: used at every keystroke, shown in the main window only at four characters.
        QTest::newRow("site id typed a character at a time")
            << setupRequired + u"click CmndSetup; type SiteIDText a; field YourSiteID ; type SiteIDText b; field YourSiteID ; "
                               "type SiteIDText 1; field YourSiteID ; type SiteIDText 2; field YourSiteID AB12; type SiteIDText 3; "
                               "field YourSiteID AB12; set SiteIDText ; field YourSiteID AB12; click Command1; click SendClaims; "
                               "told Please Enter Your Site ID in Setup"_s;
        // The format code's Change: capitals exactly when it is three characters long.
        QTest::newRow("format code in capitals at three characters")
            << u"setup site-id:ab12\r\n; click CmndSetup; type SftwrFormatText sd; field SftwrFormatText sd; type SftwrFormatText w; "
               "field SftwrFormatText SDW; set SftwrFormatText sdwx; field SftwrFormatText sdwx; key SftwrFormatText Backspace; "
               "field SftwrFormatText SDW"_s;
        // The help panel's switches: Help toggles it, with the help text whole; a left click on either label hides it.
        QTest::newRow("help panel")
            << u"setup site-id:ab12\r\n; click CmndSetup; hidden HelpPanel; click Label10; click Label5; field HelpPanel ; hidden HelpPanel; "
               "click HelpCommand; shown HelpPanel; field HelpPanel $help; click Label5 right; shown HelpPanel; click HelpCommand; hidden HelpPanel; click HelpCommand; "
               "click Label5; hidden HelpPanel; click HelpCommand; shown HelpPanel; click Label10; hidden HelpPanel"_s;
        // A new practice's way in: pick the software, type the site id, look back at the main window
        // (every field kept), save, start again, send; the new claim folder waits for that start.
        QTest::newRow("new practice sets up and starts again")
            << setupRequired + u"click CmndSetup; hidden Form1; pick SftwrList 8; type SiteIDText ab12; click Command1; shown Form1; "
                               "hidden Form3; field YourSiteID AB12; read qrn/setup.fil <missing>; click CmndSetup; field SiteIDText ab12; "
                               "click CmndSaveSetup; shown Form3; read qrn/setup.fil site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\n"
                               "sitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n; write SoftDent/CLAIMS.REP; click Command1; click SendClaims; "
                               "told No Claims Found to Send; restart; field YourSiteID AB12; click CmndSetup; field SftwrText SOFTDENT; click Command1; click SendClaims; "
                               "opened firefox.exe $portalab12; files qrn/claims CLAIMS.SDW; files SoftDent "_s;
        QTest::newRow("claim folder with the code page's apostrophe, saved and used")
            << u"setup "_s + earlier + u"; click CmndSetup; set FilePathText C:\\Dr Smith\u2019s Claims; click CmndSaveSetup; "
                                   "write \"Dr Smith\u2019s Claims/A.REP\"; restart; click SendClaims; opened firefox.exe $portalab12; "
                                   "files qrn/claims A.SDW; files qrn/claimsbu 2026-03-04 09.05.07 A.REP"_s;
    }

    // Guards each scenario of the setup window as a person fills it in, and what Save Setup writes.
    void scenarios()
    {
        QFETCH(QString, script);
        Rig().play(script);
    }
};

QTEST_MAIN(TestSetup)
#include "tst_setup.moc"
