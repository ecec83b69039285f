#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>


namespace {

// What the practice software wrote into a claim file; BIG ones are too large to be read at once.
QByteArray content(const QString &claim)
{
    QByteArray bytes = "claim " + claim.toLatin1();
    for (int i = 0; claim.startsWith(u"BIG") && bytes.size() < 3 * 1024 * 1024 + 7; ++i)
        bytes += QByteArray::number(i) + ',';
    return bytes;
}

} // namespace

// A run as a practice meets it: start-up, each command, Send Claims with every file it may find.
class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void sending_data()
    {
        // Lists are names apart by spaces; claims lie in C:\CLAIMIN, other files are paths below C:.
        for (const char *column : {"claims", "extra", "edits", "outbound", "backups", "left", "told"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<QByteArray>("setup");
        const auto row = [](const char *name, const char *claims, const char *extra, const char *edits, const char *outbound,
                            const char *backups, const char *left, const char *told, const QByteArray &setup = Rig::practice) {
            QTest::newRow(name) << claims << extra << edits << outbound << backups << left << told << setup;
        };
        const char *notSent = "The claims were not sent.", *noClaims = "No Claims Found to Send$", *den = "SftwrFormatText=DEN";
        const QByteArray own = "site-id:ab12\r\nsitefmt:NS2\r\nsitefil:*.*\r\nsitepat:";
        const QByteArray elsewhere = "site-id:ab12\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\nsitefmt:";
        row("extension replaced, a folder beside", "ECLAIM.001", "claimin/SUB/ECLAIM.002", "", "ECLAIM.NS2", "ECLAIM.001", "", "");
        row("only before the first dot", "A.B.C", "", den, "A.DEN", "A.B.C", "", "");
        row("no dot", "CLAIMFILE", "", den, "CLAIMFILE.DEN", "CLAIMFILE", "", "");
        row("leading dot", ".X", "", den, ".DEN", ".X", "", "");
        row("empty format code", "ECLAIM.001", "", "SftwrFormatText=", "ECLAIM.", "ECLAIM.001", "", "");
        row("a claim too large to read at once", "BIG.001 SMALL.001", "", "", "BIG.NS2 SMALL.NS2", "BIG.001 SMALL.001", "", "");
        row("format code is read live, folder and name are not", "ECLAIM.001", "elsewhere/OTHER.001",
            "SftwrFormatText=dtx FilePathText=C:\\ELSEWHERE FileNameText=OTHER.*", "ECLAIM.DTX", "ECLAIM.001", "", "");
        row("files not matching stay", "A.REP b.rep ledger.db", "", "", "A.SDW b.SDW", "A.REP b.rep", "ledger.db", "",
            "site-id:ab12\r\nsitefmt:SDW\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.REP\r\n");
        row("outbound folder starts afresh", "ECLAIM.001", "qrn/claims/OLD.NS2 qrn/claimsbu/OLD.001", "", "ECLAIM.NS2",
            "ECLAIM.001 OLD.001", "", "");
        row("case variants share one backup name", "CLAIM.001 claim.001", "", "", "CLAIM.NS2", "claim.001", "CLAIM.001",
            "The portal was opened");
        row("no site id looks at nothing", "ECLAIM.001", "qrn/claims/OLD.NS2", "", "OLD.NS2", "", "ECLAIM.001",
            "Please Enter Your Site ID in Setup", "sitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");
        row("no claims", "", "qrn/claims/OLD.NS2", "", "OLD.NS2", "", "", noClaims);
        row("no setup file, site id typed", "", "qrn/user/ECLAIM.001 qrn/ABC", "SiteIDText=ab12", "", "", "", noClaims, "");
        row("claim folder not there", "", "", "", "", "", "", noClaims, "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\NOWHERE\r\nsitefil:*.*\r\n");
        const char *placeholders = "No Claims Found to Send\n\nThe claim folder ????????\\ holds placeholder characters (?); choose the folder";
        row("preset placeholders", "", "qrn/user/ECLAIM.001 qrn/ABC", "", "", "", "", placeholders,
            "site-id:ab12\r\nsitefmt:???\r\nsitepat:????????\r\nsitefil:???\r\n");
        row("placeholder folder only", "", "qrn/user/ECLAIM.001 qrn/ABC", "", "", "", "", "No Claims Found to Send\n\nThe claim folder C:\\QRN\\??ER\\ holds",
            "site-id:ab12\r\nsitepat:C:\\QRN\\??ER\r\nsitefil:*.*\r\n");
        // The program's own folders are never sent from, and nothing is written outside the outbound folder.
        row("outbound folder", "", "qrn/claims/A.CLM", "", "A.CLM", "", "", notSent, own + "C:\\QRN\\CLAIMS\r\n");
        row("backup folder", "", "qrn/claimsbu/A.CLM", "", "", "A.CLM", "", notSent, own + "C:\\QRN\\CLAIMSBU\r\n");
        row("base folder", "", "qrn/A.CLM", "", "", "", "", notSent, own + "C:\\QRN\r\n");
        row("base folder, trailing backslash", "", "qrn/A.CLM", "", "", "", "", notSent, own + "c:\\qrn\\\r\n");
        row("base folder through another drive", "", "qrn/A.CLM", "", "", "", "", notSent, own + "Q:\\\r\n");
        row("log folder", "", "qrn/log/A.CLM", "", "", "", "", notSent, own + "C:\\QRN\\LOG\r\n");
        row("reports folder", "", "qrn/reports/A.CLM", "", "", "", "", notSent, own + "C:\\Qrn\\Reports\r\n");
        row("format code walks out", "A.CLM", "", "", "", "", "A.CLM", notSent, elsewhere + "..\\..\\..\\EVIL\r\n");
        row("format code placeholder", "A.CLM", "", "", "", "", "A.CLM", notSent, elsewhere + "???\r\n");
        row("format code with a drive colon", "A.CLM", "", "", "", "", "A.CLM", notSent, elsewhere + "C:X\r\n");
        row("format code with a dot", "A.CLM", "", "", "", "", "A.CLM", notSent, elsewhere + "N.S\r\n");
        // Past Windows' old limit of 260 characters for a whole path.
        static const QByteArray deep = QByteArray(50, 'F').append('/').repeated(6) + "DEEP.CLM";
        static const QByteArray deepSetup = "site-id:ab12\r\nsitefmt:NS2\r\nsitefil:*.CLM\r\nsitepat:C:\\" + deep.left(305).replace('/', '\\') + "\r\n";
        row("a claim folder deeper than 260 characters", "", deep.constData(), "", "DEEP.NS2", "DEEP.CLM", "", "", deepSetup);
        // A name whose outbound form, with the dot and the format code, is longer than a name may be.
        static const QByteArray longName = QByteArray(253, 'L'), both = "A.001 " + longName;
        static const QByteArray tooLong = "The portal was opened, but these claim files stayed in the claim folder:\n" + longName
            + " (its name is too long to be sent)";
        row("outbound name too long", both.constData(), "", "", "A.NS2", "A.001", longName.constData(), tooLong.constData());
        static const QByteArray longest = QByteArray(251, 'M') + ".001", longestSent = QByteArray(251, 'M') + ".NS2";
        row("outbound name as long as a name may be", longest.constData(), "", "", longestSent.constData(), longest.constData(), "", "");
        row("file name holds a folder", "", "claimin/SUB/A.CLM", "", "", "", "", notSent,
            "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:SUB\\*.CLM\r\n");
    }

    // Guards what one press of Send Claims does with each file: backed up under its own name, sent
    // under the format code, removed; or, when it must not be sent, left where it is, untouched.
    void sending()
    {
        QFETCH(QString, claims);
        QFETCH(QString, extra);
        QFETCH(QString, edits);
        QFETCH(QString, outbound);
        QFETCH(QString, backups);
        QFETCH(QString, left);
        QFETCH(QString, told);
        QFETCH(QByteArray, setup);
        QStringList folded = Rig::list(claims.toLower());
        folded.removeDuplicates();
        if (!Rig::system.caseSensitive && folded.size() != Rig::list(claims).size())
            QSKIP("names that differ only in case are one file on this system");
        QStringList sent;   // as this system stores the names: Windows drops a trailing dot
        for (const QString &name : Rig::list(outbound))
            sent << Rig::stored(name);

        Rig rig;
        rig.addDrive(u"q:"_s, u"drive_c/qrn"_s);
        // Where the drives are the rig's folders (Linux), the claims lie on another disk than the copies, as on a share.
        QTemporaryDir share(u"/dev/shm/claims-XXXXXX"_s);
        QVERIFY(*Rig::system.noDriveFolder || !share.isValid() || Rig::link(share.path(), rig.onC(u"claimin"_s)).isEmpty());
        for (const QString &file : Rig::list(extra))
            rig.write(file, "not sent now");
        QVERIFY(rig.startWith(setup, Rig::list(claims), content));
        rig.edit(Rig::list(edits));
        rig.click("SendClaims");

        QCOMPARE(rig.files(u"qrn/claims"_s), sent);
        QCOMPARE(rig.files(u"qrn/claimsbu"_s), Rig::list(backups));
        QCOMPARE(rig.files(u"claimin"_s), Rig::list(left));
        // Each claim that left is whole in both copies, under names that differ from its own by case at most.
        const auto onDisk = [](const QStringList &all, const QString &name) {
            return all.value(all.indexOf(QRegularExpression(QRegularExpression::escape(name), QRegularExpression::CaseInsensitiveOption)));
        };
        for (const QString &claim : Rig::list(claims)) {
            if (!Rig::list(left).contains(claim)) {
                const QString sentAs = claim.section(u'.', 0, 0) + u'.' + rig.setupField(SetupWindowFields::Field::Format);
                QCOMPARE(rig.read(u"qrn/claimsbu/"_s + onDisk(Rig::list(backups), claim)), content(claim));
                QCOMPARE(rig.read(u"qrn/claims/"_s + onDisk(sent, Rig::stored(sentAs))), content(claim));
            }
        }
        for (const QString &file : Rig::list(extra)) {
            if (rig.exists(file))
                QCOMPARE(rig.read(file), QByteArray("not sent now"));
        }
        QCOMPARE(rig.read(u"qrn/setup.fil"_s), setup.isEmpty() ? QByteArray("<missing>") : setup);
        QVERIFY(!rig.exists(u"EVIL"_s) && rig.files(u"qrn"_s).filter(u"EVIL"_s).isEmpty());
        QCOMPARE(rig.host->messages.size(), told.isEmpty() ? 0 : 1);
        // A told that ends in $ is the whole message; any other, how it begins.
        if (!told.isEmpty())
            QVERIFY2(told.endsWith(u'$') ? rig.host->messages[0] == told.chopped(1) : rig.host->messages[0].startsWith(told),
                     qPrintable(rig.host->messages[0]));
        QCOMPARE(rig.host->starts.size(), told.isEmpty() || told.startsWith(u"The portal was opened") ? 1 : 0);
    }

    void oddEntriesAreNamed_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("withClaim");
        for (const char *name : {"CAF\xC9.CLM", "..\\VICTIM.CLM", "PIPE.CLM", "DEVICE.CLM", "DANGLING.CLM", "AUX.CLM", "CON.CLM"}) {
            QTest::addRow("%s beside a claim", name) << QByteArray(name) << true;
            QTest::addRow("%s alone", name) << QByteArray(name) << false;
        }
    }

    // Guards what cannot be read as a plain file under its own name (an undecodable name, a backslash,
    // a FIFO, links to a device or to nothing): neither sent, nor hung on, nor mistaken, nor unmentioned.
    void oddEntriesAreNamed()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, withClaim);
        Rig rig;
        rig.write(u"VICTIM.CLM"_s, "not a claim");
        QDir().mkpath(rig.onC(u"claimin"_s));
        const QByteArray path = QFile::encodeName(rig.onC(u"claimin/"_s)) + name;
        // The temporary folder cannot remove a name it cannot spell.
        const auto removeIt = qScopeGuard([&] { Rig::removeEntry(path); });
        const QString cannot = Rig::makeEntry(path, name);
        if (!cannot.isEmpty())
            QSKIP(qPrintable(cannot));
        // The same left in the outbound folder by an earlier run goes before a submission, like any file.
        const QByteArray earlier = QFile::encodeName(rig.onC(u"qrn/claims/"_s)) + name;
        const auto removeEarlier = qScopeGuard([&] { Rig::removeEntry(earlier); });
        if (withClaim)
            QVERIFY(QDir().mkpath(rig.onC(u"qrn/claims"_s)) && Rig::makeEntry(earlier, name).isEmpty());
        QVERIFY(rig.startWith("site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.CLM\r\n",
                                withClaim ? QStringList{u"A.CLM"_s} : QStringList{}, content));
        rig.click("SendClaims");

        QCOMPARE(rig.host->messages.size(), 1);
        const QString &told = rig.host->messages[0];
        QVERIFY2(told.startsWith(withClaim ? u"The portal was opened"_s : u"No Claims Found to Send"_s), qPrintable(told));
        QVERIFY2(told.contains(QString::fromLatin1(name.mid(name.indexOf('\\') + 1))) && told.contains(u"cannot be sent"),
                 qPrintable(told));
        QCOMPARE(rig.host->starts.size(), withClaim ? 1 : 0);
        QCOMPARE(rig.files(u"qrn/claims"_s), withClaim ? QStringList{u"A.NS2"_s} : QStringList{});
        QCOMPARE(rig.read(u"VICTIM.CLM"_s), QByteArray("not a claim"));
        QVERIFY(Rig::entryExists(path) && !Rig::entryExists(earlier));
    }

    void scenarios_data()
    {
        QTest::addColumn<QString>("script");
        const QString resend = u"asked Check with QRN before executing this command. It could result in a duplicate file of "
                               "claims being sent. Click Yes to continue."_s;
        const QString ab12 = u"setup site-id:ab12\r\n; claims A.CLM; "_s, badSiteId = u"told The site id holds a character that cannot be sent"_s;
        const QString nul = u"setup site-id:ab\0" "12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n; claims A.CLM; "_s;
        const QString setupRequired = u"told Setup Required, Click OK and then Click on Setup; "_s;
        const QString log = u"read qrn/log/qrnweb.txt Start QRNWeb session on 03-04-2026 at 09:05:07\r\ncopy C:\\CLAIMIN\\ to claims\\\r\n"
                            "shell to c:\\program files\\mozilla firefox\\firefox.exe\r\n"_s;
        // The portal address each command opens, and when it opens none: a wrong site id would show
        // another practice's claims, a second start would upload twice.
        QTest::newRow("Get Reports") << ab12 + u"click GetReports; opened firefox.exe $portalab12; log closed; history Get Reports opened "
                                                "the portal for site id ab12 on the outbound folder c:\\qrn\\claims\\, which held nothing"_s;
        QTest::newRow("Get Reports without a site id") << setupRequired + u"click GetReports; opened firefox.exe $portal; log closed"_s;
        // What is typed in the main window is its field's, which the setup window's site id then replaces.
        QTest::newRow("a site id typed in the main window, then the same one in setup")
            << ab12 + u"set YourSiteID ZZ99; click CmndSetup; set SiteIDText ab1; set SiteIDText ab12; click Command1; field YourSiteID AB12"_s;
        QTest::newRow("a site id typed in the main window is not used")
            << ab12 + u"set YourSiteID ZZ99; click GetReports; opened firefox.exe $portalab12"_s;
        // What the outbound folder held as the portal opened on it, so that a claim sent twice can be told.
        QTest::newRow("Resend Claims, Yes") << u"write qrn/claims/A.NS2 abc; "_s + ab12 + u"answer 6; click Command2; "_s + resend
                + u"; opened firefox.exe $portalab12; log closed; files claimin A.CLM; history Resend Claims opened the portal for site id "
                  "ab12 on the outbound folder c:\\qrn\\claims\\, which held 1 file; history claims\\A.NS2\t3 bytes\tSHA-256 "
                  "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\tin the outbound folder as the portal opened"_s;
        QTest::newRow("Resend Claims, No") << ab12 + u"answer 7; click Command2; "_s + resend + u"; log open; files qrn/log qrnweb.txt"_s;
        QTest::newRow("web site, twice")
            << ab12 + u"click CmdQRNWebSite; click CmdQRNWebSite; opened firefox.exe $web; opened firefox.exe $web; log open"_s;
        QTest::newRow("browser gone") << ab12 + u"remove program files/mozilla firefox/firefox.exe; click GetReports; "
                                                "told The browser c:\\program files\\mozilla firefox\\firefox.exe could not be started: ; log closed"_s;
        QTest::newRow("browser a folder now") << ab12 + u"remove program files/mozilla firefox/firefox.exe; mkdir program files/mozilla firefox/firefox.exe; "
                                                "click GetReports; told The browser c:\\program files\\mozilla firefox\\firefox.exe could not be started: ; log closed"_s;
        QTest::newRow("NUL in the site id, Get Reports") << nul + u"click GetReports; "_s + badSiteId + u"; log open"_s;
        QTest::newRow("NUL in the site id, Resend Claims") << nul + u"click Command2; "_s + resend + u"; "_s + badSiteId;
        QTest::newRow("a blank in the site id is sent as it is") << u"setup site-id: ab1\r\n; click GetReports; opened firefox.exe $portal ab1"_s;
        QTest::newRow("NUL in the site id, Send Claims") << nul + u"click SendClaims; "_s + badSiteId + u"; files claimin A.CLM"_s;
        // The log's exact lines; a later press writes to no closed log and sees the folders as they
        // are now, not as the last press left them.
        QTest::newRow("log and a second press")
            << u"setup "_s + QString::fromLatin1(Rig::practice) + u"; claims A.001; click SendClaims; opened firefox.exe $portalab12; "_s
                + log + u"; log closed; write claimin/B.001 claim B.001; write qrn/claimsbu/b.001 an old backup put back; "
                        "click SendClaims; opened firefox.exe $portalab12; files qrn/claims B.NS2; files qrn/claimsbu 2026-03-04 09.05.07 "
                        "2026-03-04 09.05.07 2 A.001 B.001 earlier; read qrn/claimsbu/B.001 claim B.001; read qrn/claimsbu/earlier/B.001 "
                        "an old backup put back; "_s + log;
        const QString kept = u"The portal was opened, but these claim files stayed in the claim folder:\nECLAIM.001 (another claim "
                             "file with the same name before the dot took its place in the outbound folder"_s;
        // Practice software that writes its claims in turn under one name: each goes up once, one a press.
        QTest::newRow("one outbound name, one claim a press")
            << u"setup site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:ECLAIM.*\r\n; claims ECLAIM.001 ECLAIM.002 eclaim; "
               "click SendClaims; opened firefox.exe $portalab12; read qrn/claims/ECLAIM.NS2 claim eclaim; files claimin ECLAIM.001 ECLAIM.002; told "_s + kept + u"; "
               "history \t\tkept as claimsbu\\2026-03-04 09.05.07\\ECLAIM.001\tstays in the claim folder: another claim file; "
               "click SendClaims; opened firefox.exe $portalab12; read qrn/claims/ECLAIM.NS2 claim ECLAIM.002; files claimin ECLAIM.001; told "_s + kept + u"; "
               "click SendClaims; opened firefox.exe $portalab12; files qrn/claims ECLAIM.NS2; read qrn/claims/ECLAIM.NS2 claim ECLAIM.001; "
               "files claimin ; click SendClaims; told No Claims Found to Send; files qrn/claimsbu 2026-03-04 09.05.07 "
               "2026-03-04 09.05.07 2 2026-03-04 09.05.07 3 ECLAIM.001 ECLAIM.002 eclaim; read \"qrn/claimsbu/2026-03-04 09.05.07/eclaim\" claim eclaim; "
               "files \"qrn/claimsbu/2026-03-04 09.05.07 3\" ECLAIM.001"_s;
        // The newest copy of each name beside the kept ones, whatever the file system, and no claim
        // name that keeps another from going.
        const QString practice3 = u"setup "_s + QString::fromLatin1(Rig::practice) + u"; "_s, opened = u"; opened firefox.exe $portalab12; "_s;
        QTest::newRow("three days of one name without links")
            << practice3 + u"claims HWEBILL.DAT; nolinks; click SendClaims"_s + opened + u"write claimin/HWEBILL.DAT day 2; click SendClaims"_s
                + opened + u"write claimin/HWEBILL.DAT day 3; click SendClaims"_s + opened + u"files claimin ; files qrn/claimsbu "
                "2026-03-04 09.05.07 2026-03-04 09.05.07 2 2026-03-04 09.05.07 3 HWEBILL.DAT; read qrn/claimsbu/HWEBILL.DAT day 3; "
                "read \"qrn/claimsbu/2026-03-04 09.05.07 2/HWEBILL.DAT\" day 2; history HWEBILL.DAT\t5 bytes"_s;
        // A history an earlier version wrote in the code page is carried over once, as UTF-8 with its mark.
        QTest::newRow("an earlier version's history")
            << practice3 + u"write qrn/log/history.txt an earlier line; claims A.001; click SendClaims"_s + opened
                + u"history \uFEFFan earlier line; history A.001\t"_s;
        QTest::newRow("a base folder copied from another computer")
            << practice3 + u"write \"qrn/claimsbu/2026-03-01 08.00.00/A.001\" old; write qrn/claimsbu/A.001 old; claims A.001; click SendClaims"_s
                + opened + u"files qrn/claimsbu 2026-03-01 08.00.00 2026-03-04 09.05.07 A.001; read qrn/claimsbu/A.001 claim A.001"_s;
        QTest::newRow("a claim named like the folder for earlier copies")
            << practice3 + u"claims earlier; click SendClaims"_s + opened + u"write qrn/claimsbu/B.001 old; claims B.001; click SendClaims"_s
                + opened + u"files qrn/claimsbu 2026-03-04 09.05.07 2026-03-04 09.05.07 2 B.001 earlier; read qrn/claimsbu/earlier/B.001 old; "
                "read qrn/claimsbu/B.001 claim B.001; files claimin "_s;
        QTest::newRow("the folder for earlier copies taken by a file")
            << practice3 + u"write qrn/claimsbu/earlier old claim; write qrn/claimsbu/B.001 old; claims B.001; click SendClaims"_s + opened
                + u"files claimin ; read qrn/claimsbu/B.001 old; read qrn/claimsbu/earlier old claim"_s;
        QTest::newRow("a claim folder that cannot be read")
            << practice3 + u"claims A.001; write qrn/claims/OLD.NS2; unlistable claimin; click SendClaims; told The claims were not sent. "
               "The claim folder C:\\CLAIMIN\\ could not be read: the network name is no longer available. No claim file was removed; "
               "files claimin A.001; files qrn/claims OLD.NS2"_s;
        QTest::newRow("a claim folder made again in another case")
            << practice3 + u"claims A.001; click SendClaims"_s + opened + u"remove claimin; write ClaimIn/B.001; click SendClaims"_s + opened
                + u"files ClaimIn "_s;
        QTest::newRow("a folder on the way to the claim folder that cannot be read")
            << u"setup "_s + QString::fromLatin1(Rig::practice).replace(u"C:\\CLAIMIN"_s, u"C:\\SHARE\\CLAIMIN"_s)
                + u"; write share/claimin/A.001; unresolvable share; click SendClaims; told The claims were not sent. The claim folder "
                  "C:\\SHARE\\CLAIMIN\\ could not be read: the network name is no longer available.; files share/claimin A.001"_s;
        QTest::newRow("a claim named like its submission's folder")
            << practice3 + u"write \"claimin/2026-03-04 09.05.07\" claim; click SendClaims"_s + opened + u"files claimin ; files qrn/claimsbu "
                "2026-03-04 09.05.07; files \"qrn/claimsbu/2026-03-04 09.05.07\" 2026-03-04 09.05.07"_s;
        // A record of an earlier Send Claims that cannot be read is kept and named, and nothing is sent meanwhile.
        const QString unreadable = u"QRNWeb's record of an earlier Send Claims, c:\\qrn\\log\\sending.txt, cannot be read: "_s;
        const std::pair<const char *, const char *> journals[] = {
            {"empty", "write qrn/log/sending.txt \uFEFF; "}, {"garbage", "write qrn/log/sending.txt; "},
            {"a folder", "mkdir qrn/log/sending.txt; "}, {"a start that does not parse", "write qrn/log/sending.txt \uFEFFyesterday\tC:\\CLAIMIN\\\r\nend\t0\r\n; "},
            {"cut mid-line", "write qrn/log/sending.txt \uFEFF2026-03-04 09:05:07\tC:\\CLAIMIN\\\r\n1011 0 1 2; "},
            {"an entry that leads out of the claim folder", "write qrn/log/sending.txt \uFEFF2026-03-04 09:05:07\tC:\\CLAIMIN\\\r\n"
             "1 2 3 4 5\t0000000000000000000000000000000000000000000000000000000000000000\t..\\A.CLM\tclaims\\A.NS2\tA.CLM\r\nend\t1\r\n; "}};
        for (const auto &[what, journal] : journals) {
            QTest::addRow("journal %s", what) << QString::fromUtf8(journal) + ab12 + u"told "_s + unreadable + u"; click SendClaims; told "_s
                    + unreadable + u"; files claimin A.CLM; files qrn/claims ; files qrn/log qrnweb.txt sending.txt"_s;
        }
        // Every name whole in the history, whatever its characters; a % that begins no escape stays one.
        QTest::newRow("a name outside the code page") << u"setup "_s + QString::fromLatin1(Rig::practice) + u"; claims \u0141\u00D3D\u0179.CLM 100%GO.CLM; "
               "click SendClaims; opened firefox.exe $portalab12; history \t\u0141\u00D3D\u0179.CLM\t; history \t100%GO.CLM\t; files claimin "_s;
        // The first start of a new practice, started from another drive: the program's folders on drive
        // C (those there already no error), a fresh log, one box.
        QTest::newRow("first start without setup")
            << u"write qrn/claims/keep.txt; write qrn/log/qrnweb.txt Start QRNWeb session on 01-01-2026 at 23:59:59\r\ncopy x\r\n; drive d:; "_s
                + setupRequired + u"files qrn claims claimsbu log reports user; read qrn/log/qrnweb.txt Start QRNWeb session on 03-04-2026 "
                                  "at 09:05:07\r\n; shown Form1; log open; click Command1; run ended"_s;
        // Links: one file under two names goes once; the program's own folders linked together are refused.
        QTest::newRow("two names for one claim")
            << u"setup "_s + QString::fromLatin1(Rig::practice) + u"; claims C1.CLM; link claimin/C1.CLM claimin/CURRENT.CLM; click SendClaims; "
               "opened firefox.exe $portalab12; told The portal was opened, but these claim files stayed in the claim folder:\nCURRENT.CLM "
               "(it is another name of C1.CLM, which was sent); files qrn/claims C1.NS2; files claimin CURRENT.CLM"_s;
        // A box must fit the screen: fifteen claims that stay, how many more, and all of them in its details.
        QString names = u"setup "_s + QString::fromLatin1(Rig::practice) + u"; claims C00.CLM; "_s, told = u"opened firefox.exe $portalab12; told "
            "The portal was opened, but these claim files stayed in the claim folder:"_s;
        for (int i = 1; i <= 17; ++i) {
            names += u"link claimin/C00.CLM claimin/C%1.CLM; "_s.arg(i, 2, 10, QLatin1Char('0'));
            told += i > 15 ? QString() : u"\nC%1.CLM (it is another name of C00.CLM, which was sent)"_s.arg(i, 2, 10, QLatin1Char('0'));
        }
        QTest::newRow("a long list in a box") << names + u"click SendClaims; "_s + told + u"\nand 2 more"_s;
        QTest::newRow("own folders linked together")
            << u"setup "_s + QString::fromLatin1(Rig::practice) + u"; claims A.001; write qrn/claims/OLD.NS2; link qrn/claims qrn/claimsbu; "
               "click SendClaims; told The claims were not sent. QRNWeb's folders c:\\qrn\\claims\\ and c:\\qrn\\claimsbu\\ are one folder; "
               "files claimin A.001; files qrn/claims OLD.NS2; log closed"_s;
        // The end of a run: the log closed, no box, and nothing typed in the setup window saved.
        const QString ns2 = u"setup site-id:ab12\r\nsitefmt:NS2\r\n; "_s, ended = u"; run ended; log closed; read qrn/setup.fil site-id:ab12\r\nsitefmt:NS2\r\n"_s;
        QTest::newRow("main window closed") << ns2 + u"close Form1"_s + ended;
        QTest::newRow("Exit") << ns2 + u"click Command1"_s + ended;
        QTest::newRow("setup window closed, nothing saved") << ns2 + u"click CmndSetup; set SiteIDText zz99; close Form3"_s + ended;
        // A run whose log cannot be opened goes on, and nothing meant for the log lands elsewhere.
        for (const QString &log : {u"mkdir qrn/log/qrnweb.txt"_s, u"mkdir qrn/log; entry qrn/log/qrnweb.txt DEVICE"_s})
            QTest::addRow("log that cannot be opened: %s", qPrintable(log)) << log + u"; setup site-id:ab12\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n; "
                                                      "claims A.001; start; log closed; click CmndSetup; click CmndSaveSetup; click Command1; click SendClaims; "
                                                      "opened firefox.exe $portalab12; read qrn/setup.fil site-id:ab12\r\nsiteswr:\r\nsitefmt:\r\n"
                                                      "sitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n"_s;
        // As on Windows, Enter presses the focused button; there is no default button, so Enter
        // anywhere else and Escape anywhere start nothing.
        const QString practice = u"site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n"_s;
        QString keys = u"setup "_s + practice + u"; claims A.CLM; "_s;
        for (const char *name : {"YourSiteID", "SendClaims", "CmndSetup", "SiteIDText", "SftwrList", "CmndSaveSetup"}) {
            const bool button = QByteArray(name).startsWith("Cmnd") || QByteArray(name) == "SendClaims";
            keys += (button ? u"key %1 Escape; "_s : u"key %1 Return; key %1 Escape; "_s).arg(QLatin1String(name));
            if (name == QByteArray("CmndSetup"))
                keys += u"files claimin A.CLM; key SendClaims Enter; opened firefox.exe $portalab12; files qrn/claims A.NS2; "
                        "key CmndSetup Return; shown Form3; "_s;
        }
        QTest::newRow("Enter and Escape") << keys + u"read qrn/setup.fil "_s + practice + u"; key CmndSaveSetup Return; run going; "
                                                    "read qrn/setup.fil site-id:ab12\r\nsiteswr:\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n"_s;
    }

    // Guards each scenario of the commands of the two windows, the ends of a run and its log.
    void scenarios()
    {
        QFETCH(QString, script);
        Rig().play(script);
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
