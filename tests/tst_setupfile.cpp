#include "Rig.h"

#include <QLineEdit>
#include <QTest>

// The setup file as start-up reads it and as Save Setup writes it.
class TestSetupFile : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void saving_data();
    void saving();
};

void TestSetupFile::reading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shown");   // the main window's site id
    QTest::addColumn<QString>("siteId");
    QTest::addColumn<QString>("software");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("claimPath");
    QTest::addColumn<QString>("fileSpec");

    QTest::newRow("all five") << QByteArray("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:sdw\r\nsitepat:C:\\SoftDent\r\nsitefil:*.rep\r\n")
                              << "AB12" << "ab12" << "SOFTDENT" << "SDW" << "C:\\SOFTDENT\\" << "*.REP";
    QTest::newRow("as saved empty") << QByteArray("site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n")
                                    << "" << "" << "" << "" << "\\" << "";
    QTest::newRow("key in capitals is skipped") << QByteArray("SITE-ID:ab12\r\nSITEFIL:*.CLM\r\n") << "" << "" << "" << "" << "" << "";
    QTest::newRow("drive root doubles the backslash") << QByteArray("sitepat:c:\\\r\n") << "" << "" << "" << "" << "C:\\\\" << "";
    QTest::newRow("trailing blanks go") << QByteArray("sitefil:*.clm   \r\n") << "" << "" << "" << "" << "" << "*.CLM";
    QTest::newRow("leading blanks stay") << QByteArray("site-id: ab1\r\nsitefil:  eclaim.*\r\n") << " AB1" << " ab1" << "" << ""
                                         << "" << "  ECLAIM.*";
    QTest::newRow("last of two wins") << QByteArray("sitefil:A.*\r\nsite-id:zz99\r\nsitefil:B.*\r\nsite-id:ab12\r\n")
                                      << "AB12" << "ab12" << "" << "" << "" << "B.*";
    QTest::newRow("short and blank lines skipped") << QByteArray("sitefmt\r\n\r\nsitefmt:ns2\r\n") << "" << "" << "" << "NS2" << "" << "";
    QTest::newRow("no final break, lone LF") << QByteArray("sitefmt:sdw\nsite-id:cd34") << "CD34" << "cd34" << "" << "SDW" << "" << "";
    QTest::newRow("empty file") << QByteArray("") << "" << "" << "" << "" << "" << "";
    QTest::newRow("NUL bytes") << QByteArray("sitefil:a\0b\r\n\0\0\0\r\n", 18) << "" << "" << "" << "" << ""
                               << QStringLiteral("A") + QChar(0) + QStringLiteral("B");
    QTest::newRow("a line of megabytes") << (QByteArray("sitefil:") + QByteArray(3 * 1024 * 1024, 'x')) << "" << "" << "" << ""
                                         << "" << QString(3 * 1024 * 1024, u'X');
    QTest::newRow("bytes above 127") << QByteArray("sitefil:\xe9\xff\xdf.clm\r\n") << "" << "" << "" << "" << ""
                                     << QString::fromLatin1("\xc9\xff\xdf.CLM");
    QTest::newRow("only breaks") << QByteArray(10000, '\n') << "" << "" << "" << "" << "" << "";
}

// Guards how start-up reads the file: what is shown, what is used, and that no file stops the start.
void TestSetupFile::reading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, shown);
    QFETCH(QString, siteId);
    QFETCH(QString, software);
    QFETCH(QString, format);
    QFETCH(QString, claimPath);
    QFETCH(QString, fileSpec);

    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), file);
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

void TestSetupFile::saving_data()
{
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QString>("told");

    const QByteArray earlier("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
    QTest::newRow("every field, site id in small letters")
        << QByteArray() << QStringList{"SiteIDText=aB12", "SftwrText=SoftDent", "SftwrFormatText=sdw", "FilePathText=C:\\SOFTDENT",
                                       "FileNameText=*.REP"}
        << earlier << "";
    QTest::newRow("nothing entered") << QByteArray() << QStringList() << QByteArray("site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n")
                                     << "";
    QTest::newRow("other lines go") << QByteArray("site-id:ab12\r\nextra:line\r\n")
                                    << QStringList{"SftwrText=A", "SftwrFormatText=B", "FilePathText=C", "FileNameText=D"}
                                    << QByteArray("site-id:ab12\r\nsiteswr:A\r\nsitefmt:B\r\nsitepat:C\r\nsitefil:D\r\n") << "";
    QTest::newRow("a value cannot forge a record") << earlier << QStringList{"SftwrText=Soft\r\nsitepat:C:\\EVIL"}
        << QByteArray("site-id:ab12\r\nsiteswr:Softsitepat:C:\\EVIL\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n") << "";
    QTest::newRow("typographic apostrophe in the folder") << earlier << QStringList{QString::fromUtf8("FilePathText=C:\\Dr Smith\u2019s")}
        << earlier << QString::fromUtf8("The setup was not saved: the claim folder holds the character \u2019");
    QTest::newRow("snowman in the software name") << earlier << QStringList{QString::fromUtf8("SftwrText=Soft\u2603")} << earlier
        << QString::fromUtf8("The setup was not saved: the software name holds the character \u2603");
    QTest::newRow("highest 8-bit letter") << earlier << QStringList{QString::fromLatin1("SftwrText=Soft\xff")}
        << QByteArray("site-id:ab12\r\nsiteswr:Soft\xff\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n") << "";
    QTest::newRow("folder in the file name") << earlier << QStringList{"FileNameText=SUB\\*.CLM"} << earlier
        << "The setup was not saved: the claim file name SUB\\*.CLM holds a folder";
}

// Guards the five records Save Setup writes, each time whole, and the values it must refuse to
// write because they would come back as something else.
void TestSetupFile::saving()
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
        QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), saved.isEmpty() ? earlier : saved);
    }
    const QStringList expected = told.isEmpty() ? QStringList() : QStringList{told, told};
    QCOMPARE(rig.host->messages.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QVERIFY2(rig.host->messages[i].startsWith(expected[i]), qPrintable(rig.host->messages[i]));
    QVERIFY(rig.setup().isVisible());
    QCOMPARE(rig.files(QStringLiteral("qrn")).filter(QStringLiteral("setup")), QStringList{QStringLiteral("setup.fil")});
    QCOMPARE(rig.runtime->isOpen(rig.session->vars().LogFileNo), !told.isEmpty());
}

QTEST_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
