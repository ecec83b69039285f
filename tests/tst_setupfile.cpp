#include "Rig.h"

#include <QLineEdit>
#include <QTest>

// The setup file as start-up reads it and as Save Setup writes it.
class TestSetupFile : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        // The main window's site id, then the values used and the setup window's fields.
        for (const char *column : {"shown", "siteId", "software", "format", "claimPath", "fileSpec"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<QByteArray>("file");
        const auto row = [](const char *tag, const QByteArray &file, const QString &shown, const char *siteId, const char *software,
                            const char *format, const char *claimPath, const QString &fileSpec) {
            QTest::newRow(tag) << shown << siteId << software << format << claimPath << fileSpec << file;
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
        row("bytes above 127", "sitefil:\xe9\xff\xdf.clm\r\n", {}, "", "", "", "", QString::fromLatin1("\xc9\xff\xdf.CLM"));
        row("only breaks", QByteArray(10000, '\n'), {}, "", "", "", "", {});
    }

    // Guards how start-up reads the file: what is shown, what is used, and that no file stops the start.
    void reading()
    {
        QFETCH(QString, shown);
        QFETCH(QString, siteId);
        QFETCH(QString, software);
        QFETCH(QString, format);
        QFETCH(QString, claimPath);
        QFETCH(QString, fileSpec);
        QFETCH(QByteArray, file);

        Rig rig;
        rig.installBrowser();
        rig.write(u"qrn/setup.fil"_s, file);
        QVERIFY(rig.start());
        QVERIFY(rig.host->messages.isEmpty());
        QCOMPARE(rig.main().YourSiteID()->text(), shown);
        QCOMPARE(rig.session->vars().SiteId, siteId);
        QCOMPARE(rig.session->vars().ClaimPath, claimPath);
        QCOMPARE(rig.session->vars().ClaimFileSpec, fileSpec);
        QCOMPARE(rig.setup().SftwrText()->text(), software);
        QCOMPARE(rig.setup().SftwrFormatText()->text(), format);
        QVERIFY(!rig.setup().isVisible());
    }

    void saving_data()
    {
        QTest::addColumn<QByteArray>("earlier");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("saved");   // empty: the earlier file stays
        QTest::addColumn<QString>("told");
        const QByteArray earlier("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
        const auto row = [&](const char *tag, const QByteArray &before, const QString &edit, const QByteArray &saved,
                             const QString &told = {}) {
            QTest::newRow(tag) << before << (edit.contains(u'|') ? edit.split(u'|') : QStringList{edit}) << saved << told;
        };
        const QString notSaved = u"The setup was not saved: "_s;
        row("every field, site id in small letters", {},
            u"SiteIDText=aB12|SftwrText=SoftDent|SftwrFormatText=sdw|FilePathText=C:\\SOFTDENT|FileNameText=*.REP"_s, earlier);
        row("nothing entered", {}, u"SiteIDText="_s, "site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n");
        row("other lines go", "site-id:ab12\r\nextra:line\r\n", u"SftwrText=A|SftwrFormatText=B|FilePathText=C|FileNameText=D"_s,
            "site-id:ab12\r\nsiteswr:A\r\nsitefmt:B\r\nsitepat:C\r\nsitefil:D\r\n");
        row("a value cannot forge a record", earlier, u"SftwrText=Soft\r\nsitepat:C:\\EVIL"_s,
            "site-id:ab12\r\nsiteswr:Softsitepat:C:\\EVIL\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
        row("highest 8-bit letter", earlier, QString::fromLatin1("SftwrText=Soft\xff"),
            "site-id:ab12\r\nsiteswr:Soft\xff\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
        row("typographic apostrophe in the folder", earlier, QString::fromUtf8("FilePathText=C:\\Dr Smith\u2019s"), {},
            notSaved + QString::fromUtf8("the claim folder holds the character \u2019"));
        row("snowman in the software name", earlier, QString::fromUtf8("SftwrText=Soft\u2603"), {},
            notSaved + QString::fromUtf8("the software name holds the character \u2603"));
        row("folder in the file name", earlier, u"FileNameText=SUB\\*.CLM"_s, {},
            notSaved + u"the claim file name SUB\\*.CLM holds a folder"_s);
    }

    // Guards the five records Save Setup writes, each time whole, and the values it must refuse to
    // write because they would come back as something else.
    void saving()
    {
        QFETCH(QByteArray, earlier);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, saved);
        QFETCH(QString, told);

        Rig rig;
        rig.startWith(earlier);
        rig.click("CmndSetup");
        rig.edit(edits);
        for (int press = 0; press < 2; ++press) {
            rig.click("CmndSaveSetup");
            QCOMPARE(rig.read(u"qrn/setup.fil"_s), saved.isEmpty() ? earlier : saved);
            QCOMPARE(rig.host->messages.size(), told.isEmpty() ? 0 : press + 1);
            if (!told.isEmpty())
                QVERIFY2(rig.host->messages.last().startsWith(told), qPrintable(rig.host->messages.last()));
        }
        QVERIFY(rig.setup().isVisible());
        QCOMPARE(rig.files(u"qrn"_s).filter(u"setup"_s), QStringList{u"setup.fil"_s});
        QCOMPARE(rig.runtime->isOpen(rig.session->vars().LogFileNo), !told.isEmpty());
    }
};

QTEST_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
