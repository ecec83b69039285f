#include "Rig.h"
#include "session/Addresses.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

class TestClaimSubmission : public QObject
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
        const char *notSent = "The claims were not sent.", *noClaims = "No Claims Found to Send", *den = "SftwrFormatText=DEN";
        const QByteArray own = "site-id:ab12\r\nsitefmt:NS2\r\nsitefil:*.*\r\nsitepat:";
        const QByteArray elsewhere = "site-id:ab12\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\nsitefmt:";
        row("extension replaced", "ECLAIM.001", "", "", "ECLAIM.NS2", "ECLAIM.001", "", "");
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
        row("case variants share one backup name", "CLAIM.001 claim.001", "", "", "CLAIM.NS2", "CLAIM.001", "CLAIM.001",
            "The portal was opened");
        row("no site id looks at nothing", "ECLAIM.001", "qrn/claims/OLD.NS2", "", "OLD.NS2", "", "ECLAIM.001",
            "Please Enter Your Site ID in Setup", "sitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");
        row("no claims", "", "qrn/claims/OLD.NS2", "", "OLD.NS2", "", "", noClaims);
        row("no setup file, site id typed", "", "qrn/user/ECLAIM.001 qrn/ABC", "SiteIDText=ab12", "", "", "", noClaims, "");
        row("preset placeholders", "", "qrn/user/ECLAIM.001 qrn/ABC", "", "", "", "", noClaims,
            "site-id:ab12\r\nsitefmt:???\r\nsitepat:????????\r\nsitefil:???\r\n");
        row("placeholder folder only", "", "qrn/user/ECLAIM.001 qrn/ABC", "", "", "", "", noClaims,
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

        Rig rig;
        QFile::link(rig.onC(u"qrn"_s), rig.driveFolder + u"/q:"_s);
        for (const QString &file : Rig::list(extra))
            rig.write(file, "not sent now");
        QVERIFY(rig.startWith(setup, Rig::list(claims), content));
        rig.edit(Rig::list(edits));
        rig.click("SendClaims");

        QCOMPARE(rig.files(u"qrn/claims"_s), Rig::list(outbound));
        QCOMPARE(rig.files(u"qrn/claimsbu"_s), Rig::list(backups));
        QCOMPARE(rig.files(u"claimin"_s), Rig::list(left));
        // Each claim that left is whole in both copies, under names that differ from its own by case at most.
        const auto onDisk = [](const QString &names, const QString &name) {
            const QStringList all = Rig::list(names);
            return all.value(all.indexOf(QRegularExpression(QRegularExpression::escape(name), QRegularExpression::CaseInsensitiveOption)));
        };
        for (const QString &claim : Rig::list(claims)) {
            if (!Rig::list(left).contains(claim)) {
                const QString sentAs = claim.section(u'.', 0, 0) + u'.' + rig.setup().SftwrFormatText()->text();
                QCOMPARE(rig.read(u"qrn/claimsbu/"_s + onDisk(backups, claim)), content(claim));
                QCOMPARE(rig.read(u"qrn/claims/"_s + onDisk(outbound, sentAs)), content(claim));
            }
        }
        for (const QString &file : Rig::list(extra)) {
            if (rig.exists(file))
                QCOMPARE(rig.read(file), QByteArray("not sent now"));
        }
        QCOMPARE(rig.read(u"qrn/setup.fil"_s), setup.isEmpty() ? QByteArray("<missing>") : setup);
        QVERIFY(!rig.exists(u"EVIL"_s) && rig.files(u"qrn"_s).filter(u"EVIL"_s).isEmpty());
        QCOMPARE(rig.host->messages.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty())
            QVERIFY2(rig.host->messages[0].startsWith(told), qPrintable(rig.host->messages[0]));
        QCOMPARE(rig.host->starts.size(), told.isEmpty() || told.startsWith(u"The portal was opened") ? 1 : 0);
    }

    // Guards the log's exact lines and the portal address, and that a later press writes to no closed
    // log and sees the folders as they are now, not as the last press left them.
    void logAndPortal()
    {
        Rig rig;
        QVERIFY(rig.startWith(Rig::practice, {u"A.001"_s}, content));
        rig.click("SendClaims");
        const QByteArray log("Start QRNWeb session on 03-04-2026 at 09:05:07\r\ncopy C:\\CLAIMIN\\ to claims\\\r\n"
                             "shell to c:\\program files\\mozilla firefox\\firefox.exe\r\n");
        QCOMPARE(rig.read(u"qrn/log/qrnweb.txt"_s), log);
        QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
        rig.write(u"claimin/B.001"_s, content(u"B.001"_s));
        rig.write(u"qrn/claimsbu/b.001"_s, "an old backup put back meanwhile");
        rig.click("SendClaims");
        QCOMPARE(rig.files(u"qrn/claims"_s), QStringList{u"B.NS2"_s});
        QCOMPARE(rig.files(u"qrn/claimsbu"_s), (QStringList{u"A.001"_s, u"b.001"_s}));
        QCOMPARE(rig.read(u"qrn/claimsbu/b.001"_s), content(u"B.001"_s));
        QCOMPARE(rig.read(u"qrn/log/qrnweb.txt"_s), log);
        QCOMPARE(rig.host->starts.size(), 2);
        for (const TestHost::Start &start : std::as_const(rig.host->starts)) {
            QVERIFY(start.program.endsWith(u"/program files/mozilla firefox/firefox.exe"));
            QCOMPARE(start.argument, PortalAddress + u"ab12"_s);
        }
    }

    // Guards practice software that writes its claims in turn under one name: each goes up once, one a press.
    void sharedOutboundNameGoesOnePerPress()
    {
        Rig rig;
        const QStringList claims = Rig::list(u"ECLAIM.001 ECLAIM.002 eclaim"_s);
        QVERIFY(rig.startWith("site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:ECLAIM.*\r\n", claims, content));
        for (int press = 0; press < 3; ++press) {
            rig.host->messages.clear();
            rig.click("SendClaims");
            const QStringList sent = rig.files(u"qrn/claims"_s), stay = claims.mid(0, 2 - press);
            QCOMPARE(sent.size(), 1);
            QCOMPARE(rig.read(u"qrn/claims/"_s + sent.first()), content(claims.at(2 - press)));
            QCOMPARE(rig.files(u"claimin"_s), stay);
            QCOMPARE(rig.host->messages.size(), stay.isEmpty() ? 0 : 1);
            for (const QString &name : stay)
                QVERIFY(rig.host->messages[0].contains(name));
        }
        rig.click("SendClaims");
        QCOMPARE(rig.host->messages.last(), u"No Claims Found to Send"_s);
        QCOMPARE(rig.files(u"qrn/claimsbu"_s), claims);
        QCOMPARE(rig.host->starts.size(), 3);
    }

    void oddEntriesAreNamed_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("withClaim");
        for (const char *name : {"CAF\xC9.CLM", "..\\VICTIM.CLM", "PIPE.CLM", "DEVICE.CLM", "DANGLING.CLM"}) {
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
        const auto removeIt = qScopeGuard([&] { ::unlink(path.constData()); });
        if (name.startsWith("PIPE"))
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
        else if (name.startsWith("DEVICE") || name.startsWith("DANGLING"))
            QCOMPARE(::symlink(name.startsWith("DEVICE") ? "/dev/zero" : "/nowhere", path.constData()), 0);
        else
            ::close(::creat(path.constData(), 0644));
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
        struct stat st {};
        QCOMPARE(::lstat(path.constData(), &st), 0);
    }

    // Guards a box that must fit the screen: the first claims that stay, the rest in its details.
    void longListIsShortened()
    {
        Rig rig;
        QStringList claims;
        for (int i = 0; i < 20; ++i)
            claims << u"C%1.CLM"_s.arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY(rig.startWith(Rig::practice, claims, content));
        rig.disk->fail(FaultyFiles::Op::Remove, u"/claimin/"_s, 0);
        rig.click("SendClaims");
        QCOMPARE(rig.host->messages.size(), 1);
        const QStringList lines = rig.host->messages[0].split(u'\n');
        QCOMPARE(lines.size(), 1 + 15 + 1);
        for (int i = 0; i < 15; ++i)
            QVERIFY2(lines[i + 1].startsWith(claims[i] + u' '), qPrintable(lines[i + 1]));
        QCOMPARE(lines.last(), u"and 5 more"_s);
        for (const QString &claim : claims)
            QVERIFY(rig.host->details[0].contains(claim));
    }
};

QTEST_MAIN(TestClaimSubmission)
#include "tst_claimsubmission.moc"
