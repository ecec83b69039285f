#include "Rig.h"
#include "session/Addresses.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray exampleSetup("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

// A practice set up and started, with these claim files waiting in C:\CLAIMIN.
void prepare(Rig &rig, const QStringList &claims, const QByteArray &setup = exampleSetup)
{
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), setup);
    QDir().mkpath(rig.onC(QStringLiteral("claimin")));
    for (const QString &claim : claims)
        rig.write(QStringLiteral("claimin/") + claim, "claim " + claim.toLatin1());
    QVERIFY(rig.start());
}

} // namespace

class TestClaimSubmission : public QObject
{
    Q_OBJECT

private slots:
    void outboundNames_data();
    void outboundNames();
    void logAndPortal();
    void outboundFolderStartsAfresh();
    void filesNotMatchingStay();
    void formatCodeIsReadLiveButFolderIsNot();
    void noSiteIdLooksAtNothing();
    void noClaimsClosesTheLog();
    void nothingToMatch_data();
    void nothingToMatch();
    void failureKeepsEveryClaim_data();
    void failureKeepsEveryClaim();
    void claimThatChangesIsKept();
    void refusedBeforeAnythingIsCopied_data();
    void refusedBeforeAnythingIsCopied();
    void sharedOutboundNameGoesOnePerPress();
    void oddEntriesAreNamed_data();
    void oddEntriesAreNamed();
    void siteIdWithAControlCharacterSendsNothing_data();
    void siteIdWithAControlCharacterSendsNothing();
    void longListIsShortened();
    void caseVariantsShareOneBackupName();
    void laterSubmissionSkipsTheClosedLog();
    void largeClaimIsCopiedWhole();
};

void TestClaimSubmission::outboundNames_data()
{
    QTest::addColumn<QStringList>("claims");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("outbound");

    QTest::newRow("extension replaced") << QStringList{"ECLAIM.001"} << "NS2" << QStringList{"ECLAIM.NS2"};
    QTest::newRow("only before the first dot") << QStringList{"A.B.C"} << "DEN" << QStringList{"A.DEN"};
    QTest::newRow("no dot") << QStringList{"CLAIMFILE"} << "DEN" << QStringList{"CLAIMFILE.DEN"};
    QTest::newRow("leading dot") << QStringList{".X"} << "DEN" << QStringList{".DEN"};
    QTest::newRow("empty format code") << QStringList{"ECLAIM.001"} << "" << QStringList{"ECLAIM."};
}

void TestClaimSubmission::outboundNames()
{
    QFETCH(QStringList, claims);
    QFETCH(QString, format);
    QFETCH(QStringList, outbound);

    Rig rig;
    prepare(rig, claims);
    rig.setup().SftwrFormatText()->setText(format);
    rig.click("SendClaims");

    QVERIFY(rig.host->messages.isEmpty());
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), outbound);
    QCOMPARE(rig.files(QStringLiteral("qrn/claimsbu")), claims);
    for (const QString &claim : claims)
        QCOMPARE(rig.read(QStringLiteral("qrn/claimsbu/") + claim), "claim " + claim.toLatin1());
    QCOMPARE(rig.read(QStringLiteral("qrn/claims/") + outbound.first()), "claim " + claims.last().toLatin1());
    QVERIFY(rig.files(QStringLiteral("claimin")).isEmpty());
}

void TestClaimSubmission::logAndPortal()
{
    Rig rig;
    prepare(rig, {QStringLiteral("ECLAIM.001")});
    rig.click("SendClaims");

    QCOMPARE(rig.host->starts.size(), 1);
    QVERIFY(rig.host->starts[0].program.endsWith(QLatin1String("/program files/mozilla firefox/firefox.exe")));
    QCOMPARE(rig.host->starts[0].argument, PortalAddress + QStringLiteral("ab12"));
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")),
             QByteArray("Start QRNWeb session on 03-04-2026 at 09:05:07\r\n"
                        "copy C:\\CLAIMIN\\ to claims\\\r\n"
                        "shell to c:\\program files\\mozilla firefox\\firefox.exe\r\n"));
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestClaimSubmission::outboundFolderStartsAfresh()
{
    Rig rig;
    prepare(rig, {QStringLiteral("ECLAIM.001")});
    rig.write(QStringLiteral("qrn/claims/OLD.NS2"), "sent last week");
    rig.write(QStringLiteral("qrn/claimsbu/OLD.001"), "sent last week");
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("ECLAIM.NS2")});
    QCOMPARE(rig.files(QStringLiteral("qrn/claimsbu")), (QStringList{QStringLiteral("ECLAIM.001"), QStringLiteral("OLD.001")}));
}

void TestClaimSubmission::filesNotMatchingStay()
{
    Rig rig;
    prepare(rig, {QStringLiteral("A.REP"), QStringLiteral("b.rep"), QStringLiteral("ledger.db")},
            "site-id:ab12\r\nsitefmt:SDW\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.REP\r\n");
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("claimin")), QStringList{QStringLiteral("ledger.db")});
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), (QStringList{QStringLiteral("A.SDW"), QStringLiteral("b.SDW")}));
}

void TestClaimSubmission::formatCodeIsReadLiveButFolderIsNot()
{
    Rig rig;
    prepare(rig, {QStringLiteral("ECLAIM.001")});
    rig.write(QStringLiteral("elsewhere/OTHER.001"));
    rig.setup().SftwrFormatText()->setText(QStringLiteral("dtx"));
    rig.setup().FilePathText()->setText(QStringLiteral("C:\\ELSEWHERE"));
    rig.setup().FileNameText()->setText(QStringLiteral("OTHER.*"));
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("ECLAIM.DTX")});
    QCOMPARE(rig.files(QStringLiteral("elsewhere")), QStringList{QStringLiteral("OTHER.001")});
}

void TestClaimSubmission::noSiteIdLooksAtNothing()
{
    Rig rig;
    prepare(rig, {QStringLiteral("ECLAIM.001")}, "sitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");
    rig.write(QStringLiteral("qrn/claims/OLD.NS2"));
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Please Enter Your Site ID in Setup")});
    QCOMPARE(rig.files(QStringLiteral("claimin")), QStringList{QStringLiteral("ECLAIM.001")});
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("OLD.NS2")});
    QVERIFY(rig.host->starts.isEmpty());
    QVERIFY(rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestClaimSubmission::noClaimsClosesTheLog()
{
    Rig rig;
    prepare(rig, {});
    rig.write(QStringLiteral("qrn/claims/OLD.NS2"));
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("No Claims Found to Send")});
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("OLD.NS2")});
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
    QVERIFY(rig.host->starts.isEmpty());
}

void TestClaimSubmission::nothingToMatch_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::newRow("no setup file, site id typed") << QByteArray();
    QTest::newRow("preset placeholders") << QByteArray("site-id:ab12\r\nsitefmt:???\r\nsitepat:????????\r\nsitefil:???\r\n");
    QTest::newRow("placeholder folder only") << QByteArray("site-id:ab12\r\nsitepat:C:\\QRN\\??ER\r\nsitefil:*.*\r\n");
}

void TestClaimSubmission::nothingToMatch()
{
    QFETCH(QByteArray, setup);
    Rig rig;
    rig.installBrowser();
    if (!setup.isEmpty())
        rig.write(QStringLiteral("qrn/setup.fil"), setup);
    rig.write(QStringLiteral("qrn/user/ECLAIM.001"));
    rig.write(QStringLiteral("qrn/ABC"));
    rig.start();
    rig.host->messages.clear();
    rig.setup().SiteIDText()->setText(QStringLiteral("ab12"));
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("No Claims Found to Send")});
    QVERIFY(rig.exists(QStringLiteral("qrn/user/ECLAIM.001")));
    QVERIFY(rig.exists(QStringLiteral("qrn/ABC")));
}

void TestClaimSubmission::failureKeepsEveryClaim_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("outbound folder missing") << "no outbound folder";
    QTest::newRow("backup folder missing") << "no backup folder";
    QTest::newRow("backup disk full") << "backup refused";
    QTest::newRow("outbound disk full") << "outbound refused";
    QTest::newRow("browser removed") << "no browser";
    QTest::newRow("earlier outbound file stuck") << "stale outbound";
}

void TestClaimSubmission::failureKeepsEveryClaim()
{
    QFETCH(QString, fault);
    Rig rig;
    const QStringList claims{QStringLiteral("A.001"), QStringLiteral("B.001"), QStringLiteral("C.001")};
    prepare(rig, claims);
    if (fault == QLatin1String("no outbound folder"))
        QDir(rig.onC(QStringLiteral("qrn/claims"))).removeRecursively();
    else if (fault == QLatin1String("no backup folder"))
        QDir(rig.onC(QStringLiteral("qrn/claimsbu"))).removeRecursively();
    else if (fault == QLatin1String("no browser"))
        QFile::remove(rig.onC(QStringLiteral("program files/mozilla firefox/firefox.exe")));
    if (fault == QLatin1String("stale outbound")) {
        rig.write(QStringLiteral("qrn/claims/OLD.NS2"));
        rig.disk->fail(FaultyFiles::Op::Remove, QStringLiteral("/claims/OLD.NS2"));
    }
    if (fault == QLatin1String("backup refused"))
        rig.disk->fail(FaultyFiles::Op::Copy, QStringLiteral("/claimsbu/B."));
    if (fault == QLatin1String("outbound refused"))
        rig.disk->fail(FaultyFiles::Op::Copy, QStringLiteral("/claims/B."));

    rig.click("SendClaims");

    QCOMPARE(rig.files(QStringLiteral("claimin")), claims);
    QVERIFY(rig.host->starts.isEmpty());
    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY2(rig.host->messages[0].startsWith(QLatin1String("The claims were not sent.")), qPrintable(rig.host->messages[0]));
    QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
}

void TestClaimSubmission::claimThatChangesIsKept()
{
    Rig rig;
    prepare(rig, {QStringLiteral("A.001"), QStringLiteral("B.001")});
    // The practice software is still writing B.001 while it is being copied.
    const QString growing = rig.onC(QStringLiteral("claimin/B.001"));
    rig.disk->before = [growing](FaultyFiles::Op op, const QString &path) {
        if (op == FaultyFiles::Op::Copy && path.endsWith(QLatin1String("claims/B.NS2"))) {
            QFile file(growing);
            if (file.open(QIODevice::Append))
                file.write("more of the claim");
        }
    };
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("claimin")), QStringList{QStringLiteral("B.001")});
    QCOMPARE(rig.read(QStringLiteral("claimin/B.001")), QByteArray("claim B.001more of the claim"));
    QCOMPARE(rig.host->starts.size(), 1);
    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY(rig.host->messages[0].contains(QLatin1String("B.001 (it changed while it was being copied")));
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("A.NS2")});
}

void TestClaimSubmission::refusedBeforeAnythingIsCopied_data()
{
    QTest::addColumn<QString>("hostFolder");   // where the claim file lies, below drive C
    QTest::addColumn<QString>("folder");       // the claim folder as the setup file names it
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fileName");

    const QString fmt = QStringLiteral("NS2"), all = QStringLiteral("*.*");
    QTest::newRow("outbound folder") << "qrn/claims" << "C:\\QRN\\CLAIMS" << fmt << all;
    QTest::newRow("backup folder") << "qrn/claimsbu" << "C:\\QRN\\CLAIMSBU" << fmt << all;
    QTest::newRow("base folder") << "qrn" << "C:\\QRN" << fmt << all;
    QTest::newRow("base folder, trailing backslash") << "qrn" << "c:\\qrn\\" << fmt << all;
    QTest::newRow("log folder") << "qrn/log" << "C:\\QRN\\LOG" << fmt << all;
    QTest::newRow("reports folder") << "qrn/reports" << "C:\\Qrn\\Reports" << fmt << all;
    QTest::newRow("base folder through another drive") << "qrn" << "Q:\\" << fmt << all;
    QTest::newRow("format code walks out") << "claimin" << "C:\\CLAIMIN" << "..\\..\\..\\EVIL" << all;
    QTest::newRow("format code placeholder") << "claimin" << "C:\\CLAIMIN" << "???" << all;
    QTest::newRow("format code with a drive colon") << "claimin" << "C:\\CLAIMIN" << "C:X" << all;
    QTest::newRow("format code with a dot") << "claimin" << "C:\\CLAIMIN" << "N.S" << all;
    QTest::newRow("file name holds a folder") << "claimin" << "C:\\CLAIMIN" << fmt << "SUB\\*.CLM";
}

// Guards the program's own files, the outbound folder and the drive against a setup that would
// send them, overwrite them or write outside the outbound folder.
void TestClaimSubmission::refusedBeforeAnythingIsCopied()
{
    QFETCH(QString, hostFolder);
    QFETCH(QString, folder);
    QFETCH(QString, format);
    QFETCH(QString, fileName);
    Rig rig;
    QFile::link(rig.onC(QStringLiteral("qrn")), rig.driveFolder + QStringLiteral("/q:"));
    const QByteArray setup = "site-id:ab12\r\nsitefmt:" + format.toLatin1() + "\r\nsitepat:" + folder.toLatin1()
        + "\r\nsitefil:" + fileName.toLatin1() + "\r\n";
    rig.write(hostFolder + QStringLiteral("/A.CLM"), "the only copy");
    rig.write(QStringLiteral("claimin/SUB/A.CLM"), "the only copy");
    prepare(rig, {}, setup);
    rig.click("SendClaims");

    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY2(rig.host->messages[0].startsWith(QLatin1String("The claims were not sent.")), qPrintable(rig.host->messages[0]));
    QVERIFY(rig.host->starts.isEmpty());
    QCOMPARE(rig.read(hostFolder + QStringLiteral("/A.CLM")), QByteArray("the only copy"));
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), setup);
    QCOMPARE(rig.files(QStringLiteral("qrn")).filter(QStringLiteral("EVIL"), Qt::CaseInsensitive), QStringList());
    QVERIFY(!rig.exists(QStringLiteral("EVIL")));
    QVERIFY(rig.files(QStringLiteral("qrn/claimsbu")).size() <= (hostFolder == "qrn/claimsbu" ? 1 : 0));
    QVERIFY(rig.files(QStringLiteral("qrn/claims")).size() <= (hostFolder == "qrn/claims" ? 1 : 0));
    QVERIFY(rig.read(QStringLiteral("qrn/log/qrnweb.txt")).startsWith("Start QRNWeb session on "));
}

// Practice software that writes its claims in turn under one name: each goes up once, one a press.
void TestClaimSubmission::sharedOutboundNameGoesOnePerPress()
{
    Rig rig;
    const QStringList claims{QStringLiteral("ECLAIM.001"), QStringLiteral("ECLAIM.002"), QStringLiteral("eclaim")};
    prepare(rig, claims, "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:ECLAIM.*\r\n");
    for (int press = 0; press < 3; ++press) {
        const QString sent = claims.at(2 - press);
        rig.host->messages.clear();
        rig.click("SendClaims");
        QCOMPARE(rig.files(QStringLiteral("qrn/claims")).size(), 1);
        QCOMPARE(rig.read(QStringLiteral("qrn/claims/") + rig.files(QStringLiteral("qrn/claims")).first()),
                 "claim " + sent.toLatin1());
        QCOMPARE(rig.files(QStringLiteral("claimin")), claims.mid(0, 2 - press));
        if (press < 2) {
            QCOMPARE(rig.host->messages.size(), 1);
            for (const QString &stays : claims.mid(0, 2 - press))
                QVERIFY2(rig.host->messages[0].contains(stays), qPrintable(rig.host->messages[0]));
        } else {
            QVERIFY(rig.host->messages.isEmpty());
        }
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

// What cannot be read as a plain file under its own name is neither sent, nor hung on, nor
// mistaken for another file, nor left unmentioned.
void TestClaimSubmission::oddEntriesAreNamed()
{
    QFETCH(QString, kind);
    QFETCH(bool, withClaim);
    Rig rig;
    rig.write(QStringLiteral("VICTIM.CLM"), "not a claim");
    QDir().mkpath(rig.onC(QStringLiteral("claimin")));
    const QByteArray folder = QFile::encodeName(rig.onC(QStringLiteral("claimin"))) + '/';
    QByteArray name;
    // The temporary folder cannot remove a name it cannot spell.
    const auto removeIt = qScopeGuard([&] { ::unlink((folder + name).constData()); });
    if (kind == QLatin1String("undecodable name")) {
        name = "CAF\xC9.CLM";
        ::close(::creat((folder + name).constData(), 0644));
    } else if (kind == QLatin1String("backslash in the name")) {
        name = "..\\VICTIM.CLM";
        ::close(::creat((folder + name).constData(), 0644));
    } else if (kind == QLatin1String("FIFO")) {
        name = "PIPE.CLM";
        QCOMPARE(::mkfifo((folder + name).constData(), 0644), 0);
    } else {
        name = "LINK.CLM";
        QVERIFY(::symlink(kind == QLatin1String("link to a device") ? "/dev/zero" : "/nowhere", (folder + name).constData()) == 0);
    }
    prepare(rig, withClaim ? QStringList{QStringLiteral("A.CLM")} : QStringList{},
            "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.CLM\r\n");
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

void TestClaimSubmission::siteIdWithAControlCharacterSendsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Send Claims") << "SendClaims";
    QTest::newRow("Get Reports") << "GetReports";
    QTest::newRow("Resend Claims") << "Command2";
}

// A NUL read from the setup file would open the portal for a shorter, different site id.
void TestClaimSubmission::siteIdWithAControlCharacterSendsNothing()
{
    QFETCH(QString, button);
    Rig rig;
    prepare(rig, {QStringLiteral("A.CLM")}, QByteArray("site-id:ab\0" "12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n", 62));
    rig.click(button.toLatin1().constData());
    QVERIFY(rig.host->starts.isEmpty());
    QVERIFY2(rig.host->messages.last().startsWith(QLatin1String("The site id holds a character that cannot be sent")),
             qPrintable(rig.host->messages.last()));
    QCOMPARE(rig.files(QStringLiteral("claimin")), QStringList{QStringLiteral("A.CLM")});
}

// A list of claim files that stay must fit the screen: the box shows the first ones, the rest
// are in its details.
void TestClaimSubmission::longListIsShortened()
{
    Rig rig;
    QStringList claims;
    for (int i = 0; i < 20; ++i)
        claims << QStringLiteral("C%1.CLM").arg(i, 2, 10, QLatin1Char('0'));
    prepare(rig, claims);
    rig.disk->fail(FaultyFiles::Op::Remove, QStringLiteral("/claimin/"), 0);
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages.size(), 1);
    const QStringList lines = rig.host->messages[0].split(u'\n');
    QCOMPARE(lines.size(), 1 + 15 + 1);
    QCOMPARE(lines.last(), QStringLiteral("and 5 more"));
    for (const QString &claim : claims)
        QVERIFY(rig.host->details[0].contains(claim));
}

void TestClaimSubmission::caseVariantsShareOneBackupName()
{
    Rig rig;
    prepare(rig, {QStringLiteral("CLAIM.001"), QStringLiteral("claim.001")});
    rig.click("SendClaims");
    // Both went to the same backup name; only the one whose copy survived may leave.
    QCOMPARE(rig.files(QStringLiteral("claimin")), QStringList{QStringLiteral("CLAIM.001")});
    QCOMPARE(rig.files(QStringLiteral("qrn/claimsbu")), QStringList{QStringLiteral("CLAIM.001")});
    QCOMPARE(rig.read(QStringLiteral("qrn/claimsbu/CLAIM.001")), QByteArray("claim claim.001"));
}

void TestClaimSubmission::laterSubmissionSkipsTheClosedLog()
{
    Rig rig;
    prepare(rig, {QStringLiteral("A.001")});
    rig.click("SendClaims");
    const QByteArray log = rig.read(QStringLiteral("qrn/log/qrnweb.txt"));
    rig.write(QStringLiteral("claimin/B.001"));
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("B.NS2")});
    QCOMPARE(rig.host->starts.size(), 2);
    QCOMPARE(rig.read(QStringLiteral("qrn/log/qrnweb.txt")), log);
}

// Guards the copy of a file too large to be read at once: both copies whole, not one short.
void TestClaimSubmission::largeClaimIsCopiedWhole()
{
    Rig rig;
    prepare(rig, {QStringLiteral("BIG.001"), QStringLiteral("SMALL.001")});
    QByteArray big;
    for (int i = 0; big.size() < 3 * 1024 * 1024 + 7; ++i)
        big += QByteArray::number(i) + ',';
    rig.write(QStringLiteral("claimin/BIG.001"), big);
    rig.click("SendClaims");

    QVERIFY(rig.host->messages.isEmpty());
    QCOMPARE(rig.read(QStringLiteral("qrn/claimsbu/BIG.001")), big);
    QCOMPARE(rig.read(QStringLiteral("qrn/claims/BIG.NS2")), big);
    QCOMPARE(rig.read(QStringLiteral("qrn/claims/SMALL.NS2")), QByteArray("claim SMALL.001"));
    QVERIFY(rig.files(QStringLiteral("claimin")).isEmpty());
}

QTEST_MAIN(TestClaimSubmission)
#include "tst_claimsubmission.moc"
