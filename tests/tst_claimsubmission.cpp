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

class TestClaimSubmission : public QObject
{
    Q_OBJECT

private slots:
    void sending_data();
    void sending();
    void logAndPortal();
    void sharedOutboundNameGoesOnePerPress();
    void oddEntriesAreNamed_data();
    void oddEntriesAreNamed();
    void longListIsShortened();
    void largeClaimIsCopiedWhole();
};

namespace {
QByteArray content(const QString &claim)
{
    return "claim " + claim.toLatin1();
}
} // namespace

void TestClaimSubmission::sending_data()
{
    // Lists are names apart by spaces; claims lie in C:\CLAIMIN, other files are paths below C:.
    for (const char *column : {"claims", "extra", "edits", "outbound", "backups", "left", "told"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<QByteArray>("setup");
    const auto row = [](const char *name, const char *claims, const char *extra, const char *edits, const char *outbound,
                        const char *backups, const char *left, const char *told, const QByteArray &setup = Rig::practice) {
        QTest::newRow(name) << claims << extra << edits << outbound << backups << left << told << setup;
    };
    const char *notSent = "The claims were not sent.", *noClaims = "No Claims Found to Send";
    const QByteArray own = "site-id:ab12\r\nsitefmt:NS2\r\nsitefil:*.*\r\nsitepat:";
    const QByteArray elsewhere = "site-id:ab12\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\nsitefmt:";
    row("extension replaced", "ECLAIM.001", "", "", "ECLAIM.NS2", "ECLAIM.001", "", "");
    row("only before the first dot", "A.B.C", "", "SftwrFormatText=DEN", "A.DEN", "A.B.C", "", "");
    row("no dot", "CLAIMFILE", "", "SftwrFormatText=DEN", "CLAIMFILE.DEN", "CLAIMFILE", "", "");
    row("leading dot", ".X", "", "SftwrFormatText=DEN", ".DEN", ".X", "", "");
    row("empty format code", "ECLAIM.001", "", "SftwrFormatText=", "ECLAIM.", "ECLAIM.001", "", "");
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
void TestClaimSubmission::sending()
{
    QFETCH(QString, claims);
    QFETCH(QString, extra);
    QFETCH(QString, edits);
    QFETCH(QString, outbound);
    QFETCH(QString, backups);
    QFETCH(QString, left);
    QFETCH(QString, told);
    QFETCH(QByteArray, setup);
    const auto list = [](const QString &spaced) { return spaced.split(u' ', Qt::SkipEmptyParts); };

    Rig rig;
    QFile::link(rig.onC(QStringLiteral("qrn")), rig.driveFolder + QStringLiteral("/q:"));
    for (const QString &file : list(extra))
        rig.write(file, "not sent now");
    QVERIFY(rig.startWith(setup, list(claims)));
    rig.edit(list(edits));
    rig.click("SendClaims");

    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), list(outbound));
    QCOMPARE(rig.files(QStringLiteral("qrn/claimsbu")), list(backups));
    QCOMPARE(rig.files(QStringLiteral("claimin")), list(left));
    // Each claim that left is whole in both copies, under names that differ from its own by case at most.
    const auto onDisk = [](const QStringList &names, const QString &name) {
        return names.value(names.indexOf(QRegularExpression(QRegularExpression::escape(name),
                                                            QRegularExpression::CaseInsensitiveOption)));
    };
    for (const QString &claim : list(claims)) {
        if (!list(left).contains(claim)) {
            const QString sentAs = claim.section(u'.', 0, 0) + u'.' + rig.setup().SftwrFormatText()->text();
            QCOMPARE(rig.read(QStringLiteral("qrn/claimsbu/") + onDisk(list(backups), claim)), content(claim));
            QCOMPARE(rig.read(QStringLiteral("qrn/claims/") + onDisk(list(outbound), sentAs)), content(claim));
        }
    }
    for (const QString &file : list(extra)) {
        if (rig.exists(file))
            QCOMPARE(rig.read(file), QByteArray("not sent now"));
    }
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), setup.isEmpty() ? QByteArray("<missing>") : setup);
    QVERIFY(!rig.exists(QStringLiteral("EVIL")) && rig.files(QStringLiteral("qrn")).filter(QStringLiteral("EVIL")).isEmpty());
    QCOMPARE(rig.host->messages.size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(rig.host->messages[0].startsWith(told), qPrintable(rig.host->messages[0]));
    QCOMPARE(rig.host->starts.size(), told.isEmpty() || told.startsWith(QLatin1String("The portal was opened")) ? 1 : 0);
}

// Guards the log's exact lines and the portal address, and that a later press writes to no closed log.
void TestClaimSubmission::logAndPortal()
{
    Rig rig;
    QVERIFY(rig.startWith(Rig::practice, {QStringLiteral("A.001")}));
    rig.click("SendClaims");
    QCOMPARE(rig.host->starts.size(), 1);
    QVERIFY(rig.host->starts[0].program.endsWith(QLatin1String("/program files/mozilla firefox/firefox.exe")));
    QCOMPARE(rig.host->starts[0].argument, PortalAddress + QStringLiteral("ab12"));
    const QByteArray log("Start QRNWeb session on 03-04-2026 at 09:05:07\r\n"
                         "copy C:\\CLAIMIN\\ to claims\\\r\n"
                         "shell to c:\\program files\\mozilla firefox\\firefox.exe\r\n");
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), log);
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));

    rig.write(QStringLiteral("claimin/B.001"));
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("B.NS2")});
    QCOMPARE(rig.host->starts.size(), 2);
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), log);
    QVERIFY(rig.host->messages.isEmpty());
}

// Guards practice software that writes its claims in turn under one name: each goes up once, one a press.
void TestClaimSubmission::sharedOutboundNameGoesOnePerPress()
{
    Rig rig;
    const QStringList claims{QStringLiteral("ECLAIM.001"), QStringLiteral("ECLAIM.002"), QStringLiteral("eclaim")};
    QVERIFY(rig.startWith("site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:ECLAIM.*\r\n", claims));
    for (int press = 0; press < 3; ++press) {
        rig.host->messages.clear();
        rig.click("SendClaims");
        const QStringList sent = rig.files(QStringLiteral("qrn/claims"));
        QCOMPARE(sent.size(), 1);
        QCOMPARE(rig.read(QStringLiteral("qrn/claims/") + sent.first()), content(claims.at(2 - press)));
        const QStringList stay = claims.mid(0, 2 - press);
        QCOMPARE(rig.files(QStringLiteral("claimin")), stay);
        QCOMPARE(rig.host->messages.size(), stay.isEmpty() ? 0 : 1);
        for (const QString &name : stay)
            QVERIFY2(rig.host->messages[0].contains(name), qPrintable(rig.host->messages[0]));
    }
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages.last(), QStringLiteral("No Claims Found to Send"));
    QCOMPARE(rig.files(QStringLiteral("qrn/claimsbu")), claims);
    QCOMPARE(rig.host->starts.size(), 3);
}

void TestClaimSubmission::oddEntriesAreNamed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("withClaim");
    for (const char *kind : {"undecodable name", "backslash in the name", "FIFO", "link to a device", "dangling link"}) {
        QTest::addRow("%s beside a claim", kind) << QString::fromLatin1(kind) << true;
        QTest::addRow("%s alone", kind) << QString::fromLatin1(kind) << false;
    }
}

// Guards what cannot be read as a plain file under its own name: neither sent, nor hung on, nor
// mistaken for another file, nor left unmentioned.
void TestClaimSubmission::oddEntriesAreNamed()
{
    QFETCH(QString, kind);
    QFETCH(bool, withClaim);
    Rig rig;
    rig.write(QStringLiteral("VICTIM.CLM"), "not a claim");
    QDir().mkpath(rig.onC(QStringLiteral("claimin")));
    const QByteArray folder = QFile::encodeName(rig.onC(QStringLiteral("claimin"))) + '/';
    QByteArray name = "LINK.CLM";
    // The temporary folder cannot remove a name it cannot spell.
    const auto removeIt = qScopeGuard([&] { ::unlink((folder + name).constData()); });
    if (kind == QLatin1String("undecodable name") || kind == QLatin1String("backslash in the name")) {
        name = kind.startsWith(u'u') ? "CAF\xC9.CLM" : "..\\VICTIM.CLM";
        ::close(::creat((folder + name).constData(), 0644));
    } else if (kind == QLatin1String("FIFO")) {
        name = "PIPE.CLM";
        QCOMPARE(::mkfifo((folder + name).constData(), 0644), 0);
    } else {
        QVERIFY(::symlink(kind == QLatin1String("link to a device") ? "/dev/zero" : "/nowhere", (folder + name).constData()) == 0);
    }
    QVERIFY(rig.startWith("site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.CLM\r\n",
                          withClaim ? QStringList{QStringLiteral("A.CLM")} : QStringList{}));
    rig.click("SendClaims");

    QCOMPARE(rig.host->messages.size(), 1);
    const QString &told = rig.host->messages[0];
    QVERIFY2(told.startsWith(withClaim ? QLatin1String("The portal was opened") : QLatin1String("No Claims Found to Send")),
             qPrintable(told));
    QVERIFY2(told.contains(QString::fromLatin1(name.mid(name.indexOf('\\') + 1))) && told.contains(QLatin1String("cannot be sent")),
             qPrintable(told));
    QCOMPARE(rig.host->starts.size(), withClaim ? 1 : 0);
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), withClaim ? QStringList{QStringLiteral("A.NS2")} : QStringList{});
    QCOMPARE(rig.read(QStringLiteral("VICTIM.CLM")), QByteArray("not a claim"));
    struct stat st {};
    QCOMPARE(::lstat((folder + name).constData(), &st), 0);
}

// Guards a box that must fit the screen: the first claims that stay, the rest in its details.
void TestClaimSubmission::longListIsShortened()
{
    Rig rig;
    QStringList claims;
    for (int i = 0; i < 20; ++i)
        claims << QStringLiteral("C%1.CLM").arg(i, 2, 10, QLatin1Char('0'));
    QVERIFY(rig.startWith(Rig::practice, claims));
    rig.disk->fail(FaultyFiles::Op::Remove, QStringLiteral("/claimin/"), 0);
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages.size(), 1);
    const QStringList lines = rig.host->messages[0].split(u'\n');
    QCOMPARE(lines.size(), 1 + 15 + 1);
    for (int i = 0; i < 15; ++i)
        QVERIFY2(lines[i + 1].startsWith(claims[i] + u' '), qPrintable(lines[i + 1]));
    QCOMPARE(lines.last(), QStringLiteral("and 5 more"));
    for (const QString &claim : claims)
        QVERIFY(rig.host->details[0].contains(claim));
}

// Guards the copy of a file too large to be read at once: both copies whole, not one short.
void TestClaimSubmission::largeClaimIsCopiedWhole()
{
    Rig rig;
    QVERIFY(rig.startWith(Rig::practice, {QStringLiteral("BIG.001"), QStringLiteral("SMALL.001")}));
    QByteArray big;
    for (int i = 0; big.size() < 3 * 1024 * 1024 + 7; ++i)
        big += QByteArray::number(i) + ',';
    rig.write(QStringLiteral("claimin/BIG.001"), big);
    rig.click("SendClaims");
    QVERIFY(rig.host->messages.isEmpty());
    QCOMPARE(rig.read(QStringLiteral("qrn/claimsbu/BIG.001")), big);
    QCOMPARE(rig.read(QStringLiteral("qrn/claims/BIG.NS2")), big);
    QCOMPARE(rig.read(QStringLiteral("qrn/claims/SMALL.NS2")), content(QStringLiteral("SMALL.001")));
    QVERIFY(rig.files(QStringLiteral("claimin")).isEmpty());
}

QTEST_MAIN(TestClaimSubmission)
#include "tst_claimsubmission.moc"
