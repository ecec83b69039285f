#include "Rig.h"
#include "runtime/Wildcard.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRuntime : public QObject
{
    Q_OBJECT

private slots:
    void wildcard_data();
    void wildcard();
    void finding_data();
    void finding();
    void namesResolveWithoutRegardToCase();
    void readLines_data();
    void readLines();
    void fileNumbers();
    void firstStartLaysOutTheDrives_data();
    void firstStartLaysOutTheDrives();
};

void TestRuntime::wildcard_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    const auto row = [](const char *tag, const QString &pattern, const QString &name, bool matches) {
        QTest::newRow(tag) << pattern << name << matches;
    };
    row("star dot star, no dot", u"*.*"_s, u"CLAIMFILE"_s, true);
    row("star alone", u"*"_s, u"a.b.c"_s, true);
    row("extension, other case", u"*.REP"_s, u"claims.rep"_s, true);
    row("extension, wrong", u"*.REP"_s, u"claims.rex"_s, false);
    row("other extension, no dot", u"*.REP"_s, u"CLAIMS"_s, false);
    row("trailing .* takes no dot", u"ECLAIM.*"_s, u"ECLAIM"_s, true);
    row("trailing .* takes extension", u"ECLAIM.*"_s, u"eclaim.002"_s, true);
    row("trailing .* needs the stem", u"ECLAIM.*"_s, u"ECLAIMS"_s, false);
    row("question mark is one character", u"HWEBILL.??T"_s, u"HWEBILL.DAT"_s, true);
    row("question mark is not none", u"HWEBILL.??T"_s, u"HWEBILL.AT"_s, false);
    row("question mark is not two", u"???"_s, u"ABCD"_s, false);
    row("exact name is whole", u"PDF"_s, u"PDF.TXT"_s, false);
    row("star matches nothing", u"A*B"_s, u"AB"_s, true);
    row("backtracking star", u"*AB*C"_s, u"XABYABZC"_s, true);
    row("star cannot skip the end", u"*AB*C"_s, u"XABYABZ"_s, false);
    row("dot file", u"*.*"_s, u".X"_s, true);
    row("empty pattern", QString(), u"A"_s, false);
    row("latin-1 letters fold", QString::fromLatin1("\xe9t\xe9.*"), QString::fromLatin1("\xc9T\xc9.TXT"), true);
}

// Guards which claim files a pattern takes: too many sends what is no claim, too few leaves claims behind.
void TestRuntime::wildcard()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(Wildcard::matches(pattern, name), matches);
}

void TestRuntime::finding_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("plain files only, in name order") << u"c:\\CLAIMS\\*.*"_s << QStringList{".hidden", "B.001", "a.002"};
    QTest::newRow("folder in another case") << u"C:\\Claims\\*.00?"_s << QStringList{"B.001", "a.002"};
    // C:\ABC\XYZ is a file; a pattern that ends in a separator names no file, not even that one.
    for (const char *none : {"", "c:\\abc\\xyz\\", "c:/abc/xyz/", "C:\\????????\\???", "q:\\claims\\*.*", "c:\\nowhere\\*.*"})
        QTest::newRow(none) << QString::fromLatin1(none) << QStringList();
}

// Guards the claim listing: folders are no claims, and a pattern that names no folder finds nothing.
void TestRuntime::finding()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, found);
    Rig rig;
    for (const char *name : {"claims/B.001", "claims/a.002", "claims/.hidden", "abc/xyz"})
        rig.write(QLatin1String(name));
    QDir().mkpath(rig.onC(u"claims/FOLDER.003"_s));

    QCOMPARE(rig.runtime->findAll(pattern), found);
    QStringList inTurn;
    for (QString name = rig.runtime->findFirst(pattern); !name.isEmpty(); name = rig.runtime->findNext())
        inTurn << name;
    QCOMPARE(inTurn, found);
}

// Guards DOS names over a case-sensitive disk: one file per name whatever the case, never a second.
void TestRuntime::namesResolveWithoutRegardToCase()
{
    Rig rig;
    Runtime &rt = *rig.runtime;
    rig.write(u"SoftDent/Claims.Rep"_s, "x");
    QVERIFY(rt.makeFolder(u"c:\\NewFolder"_s));
    QVERIFY(!rt.makeFolder(u"C:\\NEWFOLDER"_s));
    QVERIFY(rt.copyFile(u"C:\\SOFTDENT\\CLAIMS.REP"_s, {u"c:\\newfolder\\Copy.Rep"_s}));
    QCOMPARE(rig.files(u"NewFolder"_s), QStringList{u"Copy.Rep"_s});
    QCOMPARE(rt.displayPath(u"c:\\softdent"_s), u"C:\\SoftDent"_s);
    QVERIFY(rt.changeFolder(u"c:\\softdent"_s));
    QVERIFY(!rt.changeFolder(u"c:\\softdent\\claims.rep"_s) && !rt.changeFolder(u"c:\\nowhere"_s));
    QCOMPARE(rt.displayPath(u"c:"_s), u"C:\\SoftDent"_s);
    QVERIFY(rt.makeFolder(u"c:\\apps"_s));
    QCOMPARE(rt.subfolders(u"c:\\"_s), (QStringList{u"apps"_s, u"NewFolder"_s, u"SoftDent"_s}));

    // A copy replaces the existing case variant, also after the folder was listed.
    rig.write(u"claims/eclaim.ns2"_s, "old");
    QCOMPARE(rt.findAll(u"c:\\claims\\*"_s).size(), 1);
    for (const char *expected : {"eclaim.ns2", "ECLAIM.NS2"}) {
        QVERIFY(rt.copyFile(u"c:\\newfolder\\copy.rep"_s, {u"c:\\claims\\ECLAIM.NS2"_s}));
        QCOMPARE(rig.files(u"claims"_s), QStringList{QLatin1String(expected)});
        QCOMPARE(rig.read(u"claims/"_s + QLatin1String(expected)), QByteArray("x"));
        QVERIFY(rt.deleteFile(u"c:\\claims\\Eclaim.Ns2"_s));
        QVERIFY(!rt.deleteFile(u"c:\\claims\\Eclaim.Ns2"_s));
    }
    QString error;
    QVERIFY(!rt.copyFile(u"c:\\newfolder\\copy.rep"_s, {u"c:\\NEWFOLDER\\COPY.REP"_s}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(rig.read(u"NewFolder/Copy.Rep"_s), QByteArray("x"));

    // Of several variants an exact match wins, and otherwise always the same one.
    rig.write(u"x/Readme"_s, "u");
    rig.write(u"x/readme"_s, "lo");
    rig.write(u"x/README"_s, "all");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rt.stamp(u"c:\\x\\ReadMe"_s).size, qint64(3));
    QCOMPARE(rt.stamp(u"c:\\x\\readme"_s).size, qint64(2));
}

void TestRuntime::readLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QByteArray every;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            every.append(char(b));
    }
    QTest::newRow("CR LF, lone CR, lone LF") << QByteArray("a\r\nb\rc\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("blank lines") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("CR LF across a buffer edge") << (QByteArray(64 * 1024 - 1, 'x') + "\r\ny")
                                                << QStringList{QString(64 * 1024 - 1, u'x'), "y"};
    QTest::newRow("line longer than a buffer") << (QByteArray(200 * 1024, 'y') + "\rz") << QStringList{QString(200 * 1024, u'y'), "z"};
    QTest::newRow("every byte") << (every + "\r\n") << QStringList{QString::fromLatin1(every)};
}

// Guards the text files the program reads and writes: every break ends a line, every byte comes back.
void TestRuntime::readLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    Rig rig;
    rig.write(u"f.txt"_s, bytes);
    Runtime &rt = *rig.runtime;
    QVERIFY(rt.openForInput(1, u"c:\\F.TXT"_s));
    QVERIFY(rt.openForOutput(2, u"c:\\out.txt"_s));
    QStringList read;
    QString line;
    while (!rt.atEnd(1) && rt.readLine(1, &line)) {
        read << line;
        QVERIFY(rt.writeLine(2, line));
    }
    QCOMPARE(read, lines);
    QVERIFY(!rt.readLine(1, &line));
    QVERIFY(rt.closeFile(2));
    QCOMPARE(rig.read(u"out.txt"_s), lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toLatin1());
}

// Guards the file numbers: the lowest free one is handed out, up to 255, and a closed one writes nothing.
void TestRuntime::fileNumbers()
{
    Rig rig;
    Runtime &rt = *rig.runtime;
    for (int number = 1; number <= 255; ++number) {
        QCOMPARE(rt.freeFile(), number);
        QVERIFY(rt.openForOutput(number, u"c:\\%1.txt"_s.arg(number)));
    }
    QCOMPARE(rt.freeFile(), 0);
    for (int number : {0, 256, 2})
        QVERIFY(!rt.openForOutput(number, u"c:\\other.txt"_s));
    QVERIFY(rt.isOpen(255) && !rt.isOpen(256));
    QVERIFY(rt.closeFile(2) && rt.closeFile(2));   // the second names no open file: nothing happens
    QCOMPARE(rt.freeFile(), 2);

    QVERIFY(rt.writeLine(1, u"one"_s));
    QVERIFY(rt.closeFile(1));
    QString error;
    QVERIFY(!rt.writeLine(1, u"two"_s, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(rig.read(u"1.txt"_s), QByteArray("one\r\n"));
    rt.closeAll();
    QVERIFY(!rt.isOpen(255));
    QCOMPARE(rt.freeFile(), 1);
}

void TestRuntime::firstStartLaysOutTheDrives_data()
{
    QTest::addColumn<QString>("onPath");
    for (const char *program : {"firefox", "xdg-open", ""})
        QTest::newRow(*program ? program : "no browser") << QString::fromLatin1(program);
}

// Guards the first start on Linux: drives C and Z, and the desktop's browser where the program looks
// for one, or the end of the program when there is none.
void TestRuntime::firstStartLaysOutTheDrives()
{
    QFETCH(QString, onPath);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"bin"_s));
    if (!onPath.isEmpty()) {
        QFile program(dir.filePath(u"bin/"_s + onPath));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", dir.filePath(u"bin"_s).toLocal8Bit());
    TestHost host(dir.filePath(u"prefix/dosdevices"_s));
    Runtime rt(host);
    Session session(rt);
    DesktopWindows windows(session);
    QCOMPARE(session.start(), !onPath.isEmpty());
    qputenv("PATH", oldPath);

    QCOMPARE(QFileInfo(host.driveFolder() + u"/c:"_s).symLinkTarget(), dir.filePath(u"prefix/drive_c"_s));
    QCOMPARE(QFileInfo(host.driveFolder() + u"/z:"_s).symLinkTarget(), u"/"_s);
    QCOMPARE(rt.drives(), (QStringList{u"c:"_s, u"z:"_s}));
    QCOMPARE(rt.stamp(u"c:\\program files\\mozilla firefox\\firefox.exe"_s).exists(), onPath == u"firefox");
    QCOMPARE(rt.stamp(u"c:\\program files\\internet explorer\\iexplore.exe"_s).exists(), onPath == u"xdg-open");
    QVERIFY(rt.isReadableFolder(u"z:\\"_s) && !rt.isReadableFolder(u"y:\\"_s));

    // A drive folder that is there already is left as it stands.
    Rig rig;
    rig.runtime->prepareDrives();
    QCOMPARE(QDir(rig.driveFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList{u"c:"_s});
    QVERIFY(!rig.exists(u"program files"_s));
}

QTEST_MAIN(TestRuntime)
#include "tst_runtime.moc"
