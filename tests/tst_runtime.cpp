#include "Rig.h"
#include "runtime/Wildcard.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestRuntime : public QObject
{
    Q_OBJECT

private slots:
    void wildcard_data();
    void wildcard();
    void findsOrdinaryFilesOnly();
    void patternsThatNameNoFolder_data();
    void patternsThatNameNoFolder();
    void namesResolveWithoutRegardToCase();
    void copyReplacesTheExistingCaseVariant();
    void severalCaseVariantsResolveToTheSameOne();
    void copyOntoItselfIsRefused();
    void readLinesEndAtAnyBreak_data();
    void readLinesEndAtAnyBreak();
    void bytesSurviveReadAndWrite();
    void fileNumbers();
    void writingToAClosedNumberIsAnError();
    void firstStartLaysOutTheDrives();
    void existingDriveFolderIsLeftAlone();
    void programStartsWithOneArgument();
    void displayPathUsesTheNamesOnDisk();
};

void TestRuntime::wildcard_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("star dot star, any name") << "*.*" << "ECLAIM.001" << true;
    QTest::newRow("star dot star, no dot") << "*.*" << "CLAIMFILE" << true;
    QTest::newRow("star alone") << "*" << "a.b.c" << true;
    QTest::newRow("extension, other case") << "*.REP" << "claims.rep" << true;
    QTest::newRow("extension, wrong") << "*.REP" << "claims.rex" << false;
    QTest::newRow("trailing .* takes no dot") << "ECLAIM.*" << "ECLAIM" << true;
    QTest::newRow("trailing .* takes extension") << "ECLAIM.*" << "eclaim.002" << true;
    QTest::newRow("trailing .* needs the stem") << "ECLAIM.*" << "ECLAIMS" << false;
    QTest::newRow("question mark is one character") << "HWEBILL.??T" << "HWEBILL.DAT" << true;
    QTest::newRow("question mark is not none") << "HWEBILL.??T" << "HWEBILL.AT" << false;
    QTest::newRow("question mark is not two") << "???" << "ABCD" << false;
    QTest::newRow("exact name") << "PDF" << "pdf" << true;
    QTest::newRow("exact name is whole") << "PDF" << "PDF.TXT" << false;
    QTest::newRow("star matches nothing") << "A*B" << "AB" << true;
    QTest::newRow("backtracking star") << "*AB*C" << "XABYABZC" << true;
    QTest::newRow("dot file") << "*.*" << ".X" << true;
    QTest::newRow("empty pattern") << "" << "A" << false;
    QTest::newRow("latin-1 letters fold") << QString::fromLatin1("\xe9t\xe9.*") << QString::fromLatin1("\xc9T\xc9.TXT") << true;
}

void TestRuntime::wildcard()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(Wildcard::matches(pattern, name), matches);
}

void TestRuntime::findsOrdinaryFilesOnly()
{
    Rig rig;
    rig.write(QStringLiteral("claims/B.001"));
    rig.write(QStringLiteral("claims/a.002"));
    rig.write(QStringLiteral("claims/.hidden"));
    QDir().mkpath(rig.onC(QStringLiteral("claims/FOLDER.003")));

    QCOMPARE(rig.runtime->findAll(QStringLiteral("c:\\CLAIMS\\*.*")),
             (QStringList{QStringLiteral(".hidden"), QStringLiteral("B.001"), QStringLiteral("a.002")}));
    QCOMPARE(rig.runtime->findFirst(QStringLiteral("C:\\Claims\\*.00?")), QStringLiteral("B.001"));
    QCOMPARE(rig.runtime->findNext(), QStringLiteral("a.002"));
    QCOMPARE(rig.runtime->findNext(), QString());
}

void TestRuntime::patternsThatNameNoFolder_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("empty") << QString();
    QTest::newRow("folder without file name") << QStringLiteral("c:\\claims\\");
    QTest::newRow("wildcards in the folder") << QStringLiteral("C:\\????????\\???");
    QTest::newRow("missing drive") << QStringLiteral("q:\\claims\\*.*");
    QTest::newRow("missing folder") << QStringLiteral("c:\\nowhere\\*.*");
}

void TestRuntime::patternsThatNameNoFolder()
{
    QFETCH(QString, pattern);
    Rig rig;
    rig.write(QStringLiteral("claims/A.001"));
    rig.write(QStringLiteral("abc/xyz"));
    QVERIFY(rig.runtime->findAll(pattern).isEmpty());
    QVERIFY(rig.runtime->findFirst(pattern).isEmpty());
}

void TestRuntime::namesResolveWithoutRegardToCase()
{
    Rig rig;
    rig.write(QStringLiteral("SoftDent/Claims.Rep"), "x");
    QVERIFY(rig.runtime->makeFolder(QStringLiteral("c:\\NewFolder")));
    QVERIFY(rig.runtime->copyFile(QStringLiteral("C:\\SOFTDENT\\CLAIMS.REP"), {QStringLiteral("c:\\newfolder\\Copy.Rep")}));
    QCOMPARE(rig.files(QStringLiteral("NewFolder")), QStringList{QStringLiteral("Copy.Rep")});
    QVERIFY(!rig.exists(QStringLiteral("newfolder")));
    QVERIFY(!rig.runtime->makeFolder(QStringLiteral("C:\\NEWFOLDER")));
}

void TestRuntime::copyReplacesTheExistingCaseVariant()
{
    Rig rig;
    rig.write(QStringLiteral("claims/eclaim.ns2"), "old");
    rig.write(QStringLiteral("in/ECLAIM.001"), "new");
    // Listing the folder first fills what the runtime knows of it, so a stale view would show here.
    QCOMPARE(rig.runtime->findAll(QStringLiteral("c:\\claims\\*")).size(), 1);
    QVERIFY(rig.runtime->copyFile(QStringLiteral("c:\\in\\ECLAIM.001"), {QStringLiteral("c:\\claims\\ECLAIM.NS2")}));
    QCOMPARE(rig.files(QStringLiteral("claims")), QStringList{QStringLiteral("eclaim.ns2")});
    QCOMPARE(rig.read(QStringLiteral("claims/eclaim.ns2")), QByteArray("new"));

    QVERIFY(rig.runtime->deleteFile(QStringLiteral("c:\\claims\\ECLAIM.NS2")));
    QVERIFY(rig.runtime->copyFile(QStringLiteral("c:\\in\\ECLAIM.001"), {QStringLiteral("c:\\claims\\ECLAIM.NS2")}));
    QCOMPARE(rig.files(QStringLiteral("claims")), QStringList{QStringLiteral("ECLAIM.NS2")});
}

void TestRuntime::severalCaseVariantsResolveToTheSameOne()
{
    Rig rig;
    rig.write(QStringLiteral("x/Readme"), "upper");
    rig.write(QStringLiteral("x/readme"), "lower");
    rig.write(QStringLiteral("x/README"), "all");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rig.runtime->stamp(QStringLiteral("c:\\x\\ReadMe")).size, qint64(3));
    QCOMPARE(rig.runtime->stamp(QStringLiteral("c:\\x\\readme")).size, qint64(5));
}

void TestRuntime::copyOntoItselfIsRefused()
{
    Rig rig;
    rig.write(QStringLiteral("claims/A.001"), "claim");
    QString error;
    QVERIFY(!rig.runtime->copyFile(QStringLiteral("c:\\claims\\A.001"), {QStringLiteral("c:\\CLAIMS\\a.001")}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(rig.read(QStringLiteral("claims/A.001")), QByteArray("claim"));
}

void TestRuntime::readLinesEndAtAnyBreak_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone LF") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("no final break") << QByteArray("a\r\nlast") << QStringList{"a", "last"};
    QTest::newRow("blank lines") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("CR LF across a buffer edge") << (QByteArray(64 * 1024 - 1, 'x') + "\r\ny")
                                                << QStringList{QString(64 * 1024 - 1, u'x'), "y"};
}

void TestRuntime::readLinesEndAtAnyBreak()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    Rig rig;
    rig.write(QStringLiteral("f.txt"), bytes);
    Runtime &rt = *rig.runtime;
    const int number = rt.freeFile();
    QVERIFY(rt.openForInput(number, QStringLiteral("c:\\F.TXT")));
    QStringList read;
    QString line;
    while (!rt.atEnd(number) && rt.readLine(number, &line))
        read << line;
    QCOMPARE(read, lines);
}

void TestRuntime::bytesSurviveReadAndWrite()
{
    Rig rig;
    QByteArray every;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            every.append(char(b));
    }
    rig.write(QStringLiteral("in.txt"), every + "\r\n");
    Runtime &rt = *rig.runtime;
    QVERIFY(rt.openForInput(1, QStringLiteral("c:\\in.txt")));
    QString line;
    QVERIFY(rt.readLine(1, &line));
    QVERIFY(rt.openForOutput(2, QStringLiteral("c:\\out.txt")));
    QVERIFY(rt.writeLine(2, line));
    rt.closeAll();
    QCOMPARE(rig.read(QStringLiteral("out.txt")), every + "\r\n");
}

void TestRuntime::fileNumbers()
{
    Rig rig;
    Runtime &rt = *rig.runtime;
    QCOMPARE(rt.freeFile(), 1);
    QVERIFY(rt.openForOutput(1, QStringLiteral("c:\\one.txt")));
    QVERIFY(rt.openForOutput(2, QStringLiteral("c:\\two.txt")));
    QCOMPARE(rt.freeFile(), 3);
    QVERIFY(rt.closeFile(1));
    QCOMPARE(rt.freeFile(), 1);
    QVERIFY(rt.closeFile(7));   // names no open file: nothing happens
    QVERIFY(!rt.openForOutput(2, QStringLiteral("c:\\again.txt")));
    rt.closeAll();
    QCOMPARE(rt.freeFile(), 1);
}

void TestRuntime::writingToAClosedNumberIsAnError()
{
    Rig rig;
    Runtime &rt = *rig.runtime;
    QVERIFY(rt.openForOutput(1, QStringLiteral("c:\\log.txt")));
    QVERIFY(rt.writeLine(1, QStringLiteral("one")));
    QVERIFY(rt.closeFile(1));
    QString error;
    QVERIFY(!rt.writeLine(1, QStringLiteral("two"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(rig.read(QStringLiteral("log.txt")), QByteArray("one\r\n"));
}

void TestRuntime::firstStartLaysOutTheDrives()
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    QFile firefox(bin + QStringLiteral("/firefox"));
    QVERIFY(firefox.open(QIODevice::WriteOnly));
    firefox.setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    firefox.close();
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());

    TestHost host(dir.filePath(QStringLiteral("prefix/dosdevices")));
    Runtime rt(host);
    rt.prepareDrives();
    qputenv("PATH", oldPath);

    QCOMPARE(QFileInfo(host.driveFolder() + QStringLiteral("/c:")).symLinkTarget(), dir.filePath(QStringLiteral("prefix/drive_c")));
    QCOMPARE(QFileInfo(host.driveFolder() + QStringLiteral("/z:")).symLinkTarget(), QStringLiteral("/"));
    QCOMPARE(rt.drives(), (QStringList{QStringLiteral("c:"), QStringLiteral("z:")}));
    QCOMPARE(rt.findFirst(QStringLiteral("c:\\program files\\mozilla firefox\\firefox.exe")), QStringLiteral("firefox.exe"));
    QVERIFY(rt.findFirst(QStringLiteral("c:\\program files\\internet explorer\\iexplore.exe")).isEmpty());
}

void TestRuntime::existingDriveFolderIsLeftAlone()
{
    Rig rig;
    rig.runtime->prepareDrives();
    QCOMPARE(QDir(rig.driveFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("c:")});
    QVERIFY(!rig.exists(QStringLiteral("program files")));
}

void TestRuntime::programStartsWithOneArgument()
{
    Rig rig;
    rig.installBrowser();
    QVERIFY(rig.runtime->startProgram(QStringLiteral("c:\\program files\\mozilla firefox\\firefox.exe"),
                                      QStringLiteral("https://x/ecp/ab 12;rm -rf")));
    QCOMPARE(rig.host->starts.size(), 1);
    QCOMPARE(QFileInfo(rig.host->starts[0].program).canonicalFilePath(),
             QFileInfo(rig.onC(QStringLiteral("program files/mozilla firefox/firefox.exe"))).canonicalFilePath());
    QCOMPARE(rig.host->starts[0].argument, QStringLiteral("https://x/ecp/ab 12;rm -rf"));

    QString error;
    QVERIFY(!rig.runtime->startProgram(QStringLiteral("c:\\gone\\browser.exe"), QStringLiteral("x"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(rig.host->starts.size(), 1);
}

void TestRuntime::displayPathUsesTheNamesOnDisk()
{
    Rig rig;
    QDir().mkpath(rig.onC(QStringLiteral("SoftDent/Data")));
    QCOMPARE(rig.runtime->displayPath(QStringLiteral("c:\\softdent\\DATA")), QStringLiteral("C:\\SoftDent\\Data"));
    QCOMPARE(rig.runtime->displayPath(QStringLiteral("c:\\")), QStringLiteral("C:\\"));
    QCOMPARE(rig.runtime->subfolders(QStringLiteral("c:\\")), QStringList{QStringLiteral("SoftDent")});
}

QTEST_MAIN(TestRuntime)
#include "tst_runtime.moc"
