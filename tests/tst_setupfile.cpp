#include "Rig.h"
#include "setup/SetupFile.h"

#include <QLineEdit>
#include <QTest>

// The setup file as start-up reads it and as Save Setup writes it.
class TestSetupFile : public QObject
{
    Q_OBJECT

private slots:
    void readingRules_data();
    void readingRules();
    void oddFilesNeverStopTheStart_data();
    void oddFilesNeverStopTheStart();
    void savedBytes();
    void savedEmptyReadsBackEmpty();
    void valueCannotForgeARecord();
    void failedSaveKeepsTheEarlierFile();
    void unsavableValueIsRefused_data();
    void unsavableValueIsRefused();
    void savingTwiceRewritesWhole();
};

void TestSetupFile::readingRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("yourSiteId");
    QTest::addColumn<QString>("siteId");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("claimPath");
    QTest::addColumn<QString>("claimFileSpec");
    QTest::addColumn<bool>("setupLoaded");

    QTest::newRow("site id") << QByteArray("site-id:ab12\r\n") << "AB12" << "ab12" << "" << "" << "" << true;
    QTest::newRow("key in capitals is skipped") << QByteArray("SITE-ID:ab12\r\nSITEFIL:*.CLM\r\n") << "" << "" << "" << "" << "" << false;
    QTest::newRow("bare folder key") << QByteArray("sitepat:\r\n") << "" << "" << "" << "\\" << "" << true;
    QTest::newRow("drive root doubles the backslash") << QByteArray("sitepat:c:\\\r\n") << "" << "" << "" << "C:\\\\" << "" << true;
    QTest::newRow("trailing blanks go") << QByteArray("sitefil:*.clm   \r\n") << "" << "" << "" << "" << "*.CLM" << true;
    QTest::newRow("leading blanks stay") << QByteArray("sitefil:  eclaim.*\r\n") << "" << "" << "" << "" << "  ECLAIM.*" << true;
    QTest::newRow("leading blank in the site id") << QByteArray("site-id: ab1\r\n") << " AB1" << " ab1" << "" << "" << "" << true;
    QTest::newRow("last of two wins") << QByteArray("sitefil:A.*\r\nsite-id:zz99\r\nsitefil:B.*\r\nsite-id:ab12\r\n")
                                      << "AB12" << "ab12" << "" << "" << "B.*" << true;
    QTest::newRow("short and blank lines skipped") << QByteArray("sitefmt\r\n\r\nsitefmt:ns2\r\n") << "" << "" << "NS2" << "" << "" << true;
    QTest::newRow("bare format key") << QByteArray("sitefmt:\r\n") << "" << "" << "" << "" << "" << true;
    QTest::newRow("empty file") << QByteArray() << "" << "" << "" << "" << "" << false;
    QTest::newRow("no final CR LF, any order") << QByteArray("sitefil:x\r\nsite-id:cd34") << "CD34" << "cd34" << "" << "" << "X" << true;
    QTest::newRow("lone LF ends a line") << QByteArray("site-id:ab12\nsitefmt:sdw\n") << "AB12" << "ab12" << "SDW" << "" << "" << true;
}

void TestSetupFile::readingRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, yourSiteId);
    QFETCH(QString, siteId);
    QFETCH(QString, format);
    QFETCH(QString, claimPath);
    QFETCH(QString, claimFileSpec);
    QFETCH(bool, setupLoaded);

    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), file);
    QVERIFY(rig.start());
    QVERIFY(rig.host->messages.isEmpty());
    QCOMPARE(rig.session->setupWindowLoaded(), setupLoaded);
    QCOMPARE(rig.main().YourSiteID()->text(), yourSiteId);
    QCOMPARE(rig.session->vars().SiteId, siteId);
    QCOMPARE(rig.session->vars().ClaimPath, claimPath);
    QCOMPARE(rig.session->vars().ClaimFileSpec, claimFileSpec);
    if (setupLoaded)
        QCOMPARE(rig.setup().SftwrFormatText()->text(), format);
}

void TestSetupFile::oddFilesNeverStopTheStart_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("NUL bytes") << QByteArray("sitefil:a\0b\r\n\0\0\0\r\n", 18) << QStringLiteral("A") + QChar(0) + QStringLiteral("B");
    QTest::newRow("a line of megabytes") << (QByteArray("sitefil:") + QByteArray(3 * 1024 * 1024, 'x')) << QString(3 * 1024 * 1024, u'X');
    QTest::newRow("bytes above 127") << QByteArray("sitefil:\xe9\xff\xdf.clm\r\n") << QString::fromLatin1("\xc9\xff\xdf.CLM");
    QTest::newRow("only breaks") << QByteArray(10000, '\n') << QString();
}

void TestSetupFile::oddFilesNeverStopTheStart()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, fileName);
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), file);
    QVERIFY(rig.start());
    QCOMPARE(rig.session->vars().ClaimFileSpec, fileName);
}

namespace {

void fill(Rig &rig, const QString &siteId, const QString &software, const QString &format, const QString &folder,
          const QString &fileName)
{
    rig.setup().SiteIDText()->setText(siteId);
    rig.setup().SftwrText()->setText(software);
    rig.setup().SftwrFormatText()->setText(format);
    rig.setup().FilePathText()->setText(folder);
    rig.setup().FileNameText()->setText(fileName);
}

} // namespace

void TestSetupFile::savedBytes()
{
    Rig rig;
    rig.installBrowser();
    rig.start();
    rig.click("CmndSetup");
    fill(rig, QStringLiteral("aB12"), QStringLiteral("SoftDent"), QStringLiteral("sdw"), QStringLiteral("C:\\SOFTDENT"),
         QStringLiteral("*.REP"));
    rig.click("CmndSaveSetup");
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")),
             QByteArray("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"));
    QVERIFY(rig.host->messages.size() == 1);   // only the start-up's "Setup Required"
}

void TestSetupFile::savedEmptyReadsBackEmpty()
{
    {
        Rig rig;
        rig.installBrowser();
        rig.start();
        rig.click("CmndSetup");
        rig.click("CmndSaveSetup");
        QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")),
                 QByteArray("site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n"));
        rig.write(QStringLiteral("../saved"), rig.read(QStringLiteral("qrn/setup.fil")));
    }
    Rig again;
    again.installBrowser();
    again.write(QStringLiteral("qrn/setup.fil"), "site-id:\r\nsiteswr:\r\nsitefmt:\r\nsitepat:\r\nsitefil:\r\n");
    again.start();
    QVERIFY(again.main().YourSiteID()->text().isEmpty());
    QVERIFY(again.session->vars().SiteId.isEmpty());
    QCOMPARE(again.session->vars().ClaimPath, QStringLiteral("\\"));
    QVERIFY(again.session->vars().ClaimFileSpec.isEmpty());
}

void TestSetupFile::valueCannotForgeARecord()
{
    const QStringList lines = SetupFile::lines({QStringLiteral("ab12"), QStringLiteral("Soft\r\nsitepat:C:\\EVIL"),
                                                QStringLiteral("SDW"), QStringLiteral("C:\\X\n"), QStringLiteral("*.REP")});
    QCOMPARE(lines, (QStringList{QStringLiteral("site-id:ab12"), QStringLiteral("siteswr:Softsitepat:C:\\EVIL"),
                                 QStringLiteral("sitefmt:SDW"), QStringLiteral("sitepat:C:\\X"),
                                 QStringLiteral("sitefil:*.REP")}));
}

void TestSetupFile::failedSaveKeepsTheEarlierFile()
{
    Rig rig;
    rig.installBrowser();
    const QByteArray earlier("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
    rig.write(QStringLiteral("qrn/setup.fil"), earlier);
    rig.start();
    rig.disk->fail(FaultyFiles::Op::Finish, QStringLiteral("setup.fil"));
    rig.click("CmndSetup");
    rig.setup().SiteIDText()->setText(QStringLiteral("zz99"));
    rig.click("CmndSaveSetup");
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), earlier);
    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY(rig.host->messages[0].startsWith(QLatin1String("The setup was not saved")));
    QVERIFY(rig.setup().isVisible());
    QCOMPARE(rig.setup().SiteIDText()->text(), QStringLiteral("zz99"));
    QCOMPARE(rig.files(QStringLiteral("qrn")).filter(QStringLiteral("setup")), QStringList{QStringLiteral("setup.fil")});
}

void TestSetupFile::savingTwiceRewritesWhole()
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\nextra:line\r\n");
    rig.start();
    rig.click("CmndSetup");
    fill(rig, QStringLiteral("ab12"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"));
    rig.click("CmndSaveSetup");
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
    rig.setup().SftwrText()->setText(QStringLiteral("Second"));
    rig.click("CmndSaveSetup");
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")),
             QByteArray("site-id:ab12\r\nsiteswr:Second\r\nsitefmt:B\r\nsitepat:C\r\nsitefil:D\r\n"));
    QCOMPARE(rig.session->vars().SetupWriteFileNo, qint16(1));
}

void TestSetupFile::unsavableValueIsRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("told");
    QTest::newRow("typographic apostrophe in the folder") << "FilePathText" << QString::fromUtf8("C:\\Dr Smith\u2019s Claims")
                                                          << QString::fromUtf8("the claim folder holds the character \u2019");
    QTest::newRow("snowman in the software name") << "SftwrText" << QString::fromUtf8("Soft\u2603")
                                                  << QString::fromUtf8("the software name holds the character \u2603");
    QTest::newRow("folder in the file name") << "FileNameText" << "SUB\\*.CLM" << "the claim file name SUB\\*.CLM holds a folder";
}

// A value the 8-bit file cannot hold would come back as "?" and match nothing ever after.
void TestSetupFile::unsavableValueIsRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, told);
    Rig rig;
    rig.installBrowser();
    const QByteArray earlier("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n");
    rig.write(QStringLiteral("qrn/setup.fil"), earlier);
    rig.start();
    rig.click("CmndSetup");
    rig.find<QLineEdit>(field.toLatin1().constData())->setText(value);
    rig.click("CmndSaveSetup");
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), earlier);
    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY2(rig.host->messages[0].startsWith(QStringLiteral("The setup was not saved: ") + told), qPrintable(rig.host->messages[0]));
}

QTEST_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
