#include "Rig.h"

#include "runtime/FoldedName.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The runtime under the program: DOS names over the host's files, file numbers, the drives.
// Matching and line reading are checked by the fuzz targets' corpus.
class TestRuntime : public QObject
{
    Q_OBJECT

private slots:
    void finding_data()
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
    void finding()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, found);
        Rig rig;
        for (const char *name : {"claims/B.001", "claims/a.002", "claims/.hidden", "abc/xyz"})
            rig.write(QLatin1String(name));
        QDir().mkpath(rig.onC(u"claims/FOLDER.003"_s));
        QCOMPARE(rig.runtime->findAll(rig.runtime->path(pattern)), found);
        QStringList inTurn;
        for (QString name = rig.runtime->findFirst(rig.runtime->path(pattern)); !name.isEmpty(); name = rig.runtime->findNext())
            inTurn << name;
        QCOMPARE(inTurn, found);
    }

    // Guards DOS names over a case-sensitive disk: one file per name whatever the case, never a second.
    void namesResolveWithoutRegardToCase()
    {
        Rig rig;
        Runtime &rt = *rig.runtime;
        rig.write(u"SoftDent/Claims.Rep"_s, "x");
        QVERIFY(rt.makeFolder(rt.path(u"c:\\NewFolder"_s)) && !rt.makeFolder(rt.path(u"C:\\NEWFOLDER"_s)));
        QVERIFY(rt.copyFile(rt.path(u"C:\\SOFTDENT\\CLAIMS.REP"_s), {rt.path(u"c:\\newfolder\\Copy.Rep"_s)}));
        QCOMPARE(rig.files(u"NewFolder"_s), QStringList{u"Copy.Rep"_s});
        QVERIFY(rt.changeFolder(rt.path(u"c:\\softdent"_s)));
        QVERIFY(rt.openForOutput(255, rt.path(u"last.txt"_s)) && rt.closeFile(255) && !rt.openForOutput(256, rt.path(u"last.txt"_s)));
        // Every number up to the last is given out in turn.
        for (int number = 1; number <= 255; ++number)
            QVERIFY(rt.freeFile() == number && rt.openForInput(number, rt.path(u"last.txt"_s)));
        QCOMPARE(rt.freeFile(), 0);
        for (int number = 1; number <= 255; ++number)
            rt.closeFile(number);
        QVERIFY(!rt.changeFolder(rt.path(u"c:\\softdent\\claims.rep"_s)) && !rt.changeFolder(rt.path(u"c:\\nowhere"_s))
                && !rt.isReadableFolder(rt.path(u"c:\\softdent\\claims.rep"_s)));
        QCOMPARE(rt.displayPath(rt.path(u"c:"_s)), u"C:\\SoftDent"_s);
        // A name below the drive alone is below its current folder, in words as in fact.
        const DosPath onDrive = rt.path(u"c:"_s) / u"claims.rep"_s;
        QVERIFY(onDrive.text() == u"c:claims.rep"_s && rt.stamp(onDrive).size == 1);
        QCOMPARE(rt.displayPath(rt.path(u"y:\\Nowhere\\Deep"_s)), u"Y:\\Nowhere\\Deep"_s);   // no drive Y
        QVERIFY(rt.makeFolder(rt.path(u"c:\\apps"_s)));
        QStringList ours = rt.subfolders(rt.path(u"c:\\"_s));   // Windows keeps its own folders on C: as well
        ours.removeIf([](const QString &name) { return !QStringList{u"apps"_s, u"NewFolder"_s, u"SoftDent"_s}.contains(name); });
        QCOMPARE(ours, (QStringList{u"apps"_s, u"NewFolder"_s, u"SoftDent"_s}));

        // A copy replaces the existing case variant, also after the folder was listed.
        rig.write(u"claims/eclaim.ns2"_s, "old");
        QCOMPARE(rt.findAll(rt.path(u"c:\\claims\\*"_s)).size(), 1);
        for (const char *expected : {"eclaim.ns2", "ECLAIM.NS2"}) {
            QVERIFY(rt.copyFile(rt.path(u"c:\\newfolder\\copy.rep"_s), {rt.path(u"c:\\claims\\ECLAIM.NS2"_s)}));
            QCOMPARE(rig.files(u"claims"_s), QStringList{QLatin1String(expected)});
            QCOMPARE(rig.read(u"claims/"_s + QLatin1String(expected)), QByteArray("x"));
            QVERIFY(rt.deleteFile(rt.path(u"c:\\claims\\Eclaim.Ns2"_s)) && !rt.deleteFile(rt.path(u"c:\\claims\\Eclaim.Ns2"_s)));
        }
        QString error;
        QVERIFY(!rt.copyFile(rt.path(u"c:\\newfolder\\copy.rep"_s), {rt.path(u"c:\\NEWFOLDER\\COPY.REP"_s)}, &error) && !error.isEmpty());
        QCOMPARE(rig.read(u"NewFolder/Copy.Rep"_s), QByteArray("x"));

        // Of several variants an exact match wins, and otherwise always the same one; where the system
        // itself matches without regard to case, they are one file.
        rig.write(u"x/Readme"_s, "u");
        rig.write(u"x/readme"_s, "lo");
        rig.write(u"x/README"_s, "all");
        const bool caseSensitive = Rig::system.caseSensitive;
        QCOMPARE(rig.files(u"x"_s).size(), caseSensitive ? 3 : 1);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rt.stamp(rt.path(u"c:\\x\\ReadMe"_s)).size, qint64(3));
        QCOMPARE(rt.stamp(rt.path(u"c:\\x\\readme"_s)).size, qint64(caseSensitive ? 2 : 3));
        // Once the program removes the one a name stood for, the next variant stands for it.
        QVERIFY(rt.deleteFile(rt.path(u"c:\\x\\README"_s)));
        const Runtime::Stamp next = rt.stamp(rt.path(u"c:\\x\\ReadMe"_s));
        QVERIFY(caseSensitive ? next.size == 1 : !next.exists());
        // The edges of the alphabet, and a letter beyond it.
        rig.write(u"x/AZ"_s, "edges");
        rig.write(u"x/\u00c9t\u00c9"_s, "beyond");
        QCOMPARE(rt.stamp(rt.path(u"c:\\x\\az"_s)).size, qint64(5));
        QCOMPARE(rt.stamp(rt.path(u"c:\\x\\\u00e9T\u00e9"_s)).size, qint64(6));
        // As keys, names are one whatever their case, and never one with a longer or shorter name.
        for (const auto &[a, b] : {std::pair{u"Claim.1"_s, u"CLAIM.1"_s}, {u"\u00c9t\u00c9"_s, u"\u00e9T\u00e9"_s}})
            QVERIFY(FoldedName(a) == FoldedName(b) && qHash(FoldedName(a), 7) == qHash(FoldedName(b), 7));
        QVERIFY(!(FoldedName(u"CLAIM.1"_s) == FoldedName(u"claim.10"_s)) && !(FoldedName(u"claim.10"_s) == FoldedName(u"CLAIM.1"_s)));
        // A name another program replaced since the folder was listed, by one in capitals, is no
        // longer found: the copy replaces the one there now.
        rig.write(u"y/Readme"_s, "u");
        QCOMPARE(rt.stamp(rt.path(u"c:\\y\\readme"_s)).size, qint64(1));
        QFile::remove(rig.onC(u"y/Readme"_s));
        rig.write(u"y/README"_s, "uu");
        QVERIFY(rt.copyFile(rt.path(u"c:\\newfolder\\copy.rep"_s), {rt.path(u"c:\\y\\Readme"_s)}));
        QCOMPARE(rig.files(u"y"_s), QStringList{u"README"_s});
        // So is a folder another program renamed in another case.
        QVERIFY(QDir(rig.onC({})).rename(u"y"_s, u"Y2"_s));
        QCOMPARE(rt.stamp(rt.path(u"c:\\y2\\readme"_s)).size, qint64(1));
        QVERIFY(QDir(rig.onC({})).rename(u"Y2"_s, u"y2"_s));
        QCOMPARE(rt.stamp(rt.path(u"c:\\y2\\readme"_s)).size, qint64(1));
    }

    // Guards the patients' data on Linux: the folders the program makes and the files it writes are
    // its user's alone, and a copy is never more readable than its claim.
    void ownFilesAreTheUsersAlone()
    {
        if (*Rig::system.noDriveFolder)
            QSKIP("On Windows a file takes the permissions of its folder");
        Rig rig;
        rig.write(u"before"_s);
        QVERIFY(rig.startWith({}, {u"A.001"_s, u"B.001"_s}));
        QVERIFY(QFile::setPermissions(rig.onC(u"claimin/B.001"_s), QFileDevice::ReadOwner));
        rig.edit({u"SiteIDText=ab12"_s, u"SftwrFormatText=NS2"_s, u"FilePathText=C:\\CLAIMIN"_s, u"FileNameText=*.*"_s});
        rig.click("CmndSetup");
        rig.click("CmndSaveSetup");
        QVERIFY(rig.restart());
        rig.click("SendClaims");
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
            | QFileDevice::WriteOther | QFileDevice::ExeOther;
        for (const char *made : {"qrn", "qrn/claims", "qrn/claimsbu", "qrn/log", "qrn/user", "qrn/log/qrnweb.txt", "qrn/setup.fil",
                                 "qrn/log/history.txt", "qrn/claims/A.NS2", "qrn/claimsbu/A.001", "qrn/claims/B.NS2", "qrn/claimsbu/B.001"})
            QVERIFY2(rig.exists(QLatin1String(made)) && !(QFileInfo(rig.onC(QLatin1String(made))).permissions() & others), made);
        QCOMPARE(QFileInfo(rig.onC(u"qrn/claimsbu/B.001"_s)).permissions() & QFileDevice::WriteOwner, 0);
        // What other programs make afterwards (the browser started) is as the user's settings make it.
        rig.write(u"after"_s);
        QCOMPARE(QFileInfo(rig.onC(u"after"_s)).permissions(), QFileInfo(rig.onC(u"before"_s)).permissions());
        // A file replaced through a link (a setup file an administrator linked) is replaced where the
        // link leads, and the link stays.
        rig.write(u"elsewhere/setup.fil"_s, "old");
        QVERIFY(QFile::link(rig.onC(u"elsewhere/setup.fil"_s), rig.onC(u"linked.fil"_s)));
        Runtime &rt = *rig.runtime;
        QVERIFY(rt.openForReplace(9, rt.path(u"c:\\linked.fil"_s)) && rt.writeLine(9, u"new"_s) && rt.closeFile(9));
        QVERIFY(QFileInfo(rig.onC(u"linked.fil"_s)).isSymLink() && rig.read(u"elsewhere/setup.fil"_s).startsWith("new"));
    }

    void firstStartLaysOutTheDrives_data()
    {
        QTest::addColumn<QString>("onPath");
        for (const char *program : {"firefox", "xdg-open", ""})
            QTest::newRow(*program ? program : "no browser") << QString::fromLatin1(program);
    }

    // Guards the first start on Linux: drives C and Z, and the desktop's browser where the program looks
    // for one, or the end of the program when there is none; a drive folder already there stays.
    void firstStartLaysOutTheDrives()
    {
        QFETCH(QString, onPath);
        if (*Rig::system.noDriveFolder)
            QSKIP(Rig::system.noDriveFolder);
        Rig rig;
        QDir(rig.driveFolder).removeRecursively();
        QDir().mkpath(rig.dir.filePath(u"bin"_s));
        QFile program(rig.dir.filePath(u"bin/"_s + onPath));
        if (!onPath.isEmpty() && program.open(QIODevice::WriteOnly))
            program.setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", rig.dir.filePath(u"bin"_s).toLocal8Bit());
        QCOMPARE(rig.restart(), !onPath.isEmpty());
        qputenv("PATH", oldPath);
        QCOMPARE(rig.host->messages.contains(u"Browser not found, Call QRN"_s), onPath.isEmpty());

        Runtime &rt = *rig.runtime;
        QCOMPARE(QFileInfo(rig.driveFolder + u"/c:"_s).symLinkTarget(), rig.dir.filePath(u"drive_c"_s));
        QCOMPARE(QFileInfo(rig.driveFolder + u"/z:"_s).symLinkTarget(), u"/"_s);
        // Wine keeps its serial ports beside the drives: they are no drives.
        QVERIFY(QFile(rig.driveFolder + u"/com1"_s).open(QIODevice::WriteOnly));
        QCOMPARE(rt.drives(), (QStringList{u"c:"_s, u"z:"_s}));
        QCOMPARE(rt.stamp(rt.path(u"c:\\program files\\mozilla firefox\\firefox.exe"_s)).exists(), onPath == u"firefox");
        QCOMPARE(rt.stamp(rt.path(u"c:\\program files\\internet explorer\\iexplore.exe"_s)).exists(), onPath == u"xdg-open");
        QVERIFY(rt.isReadableFolder(rt.path(u"z:\\"_s)) && !rt.isReadableFolder(rt.path(u"y:\\"_s)) && !rt.changeDrive(u"y:"_s));

        // A drive folder already there stays as it is.
        QVERIFY(QFile::remove(rig.driveFolder + u"/z:"_s));
        rig.runtime->prepareDrives();
        QCOMPARE(QDir(rig.driveFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), (QStringList{u"c:"_s, u"com1"_s}));
    }
};

QTEST_MAIN(TestRuntime)
#include "tst_runtime.moc"
