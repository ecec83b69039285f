#include "Rig.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include <unistd.h>

// Each way the disk, the browser or the practice software can fail Send Claims and Save Setup, at
// the first, a middle and the last claim file: no claim is ever lost, the user is told in the
// program's own terms, nothing half-done waits for the portal, and nothing passes for success.
class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void everyFaultKeepsTheClaims_data();
    void everyFaultKeepsTheClaims();
    void realDiskFaults_data();
    void realDiskFaults();
    void inputWhileBusyIsDropped_data();
    void inputWhileBusyIsDropped();
};

namespace {

const QStringList claims{QStringLiteral("A.001"), QStringLiteral("B.001"), QStringLiteral("C.001")};
const QByteArray savedSetup("site-id:ab12\r\nsiteswr:x\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

QByteArray content(const QString &claim)
{
    return "claim " + claim.toLatin1() + QByteArray(1000, '.');
}

// A small file system of its own over a folder, for as long as it lives.
struct SmallDisk
{
    SmallDisk(const QString &folder, const QString &options)
        : folder(folder)
    {
        QDir().mkpath(folder);
        mounted = ::geteuid() == 0
            && QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", options, "tmpfs", folder}) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {"-l", folder});
    }
    QString folder;
    bool mounted = false;
};

// Presses a button the way a queued click arrives: after the work that is under way.
void queueClick(QWidget *button)
{
    const QPointF at(button->rect().center());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(button, new QMouseEvent(type, at, button->mapToGlobal(at), Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier));
    }
}

} // namespace

void TestFaults::everyFaultKeepsTheClaims_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("at");   // which claim file meets it, where that means anything

    const char *perFile[] = {"backup copy", "outbound copy", "deletion", "claim grows"};
    const QStringList where = {QStringLiteral("first"), QStringLiteral("middle"), QStringLiteral("last")};
    for (const char *fault : perFile) {
        for (int at = 0; at < 3; ++at)
            QTest::newRow(qPrintable(QStringLiteral("%1 at the %2").arg(QLatin1String(fault), where[at])))
                << QString::fromLatin1(fault) << at;
    }
    for (const char *whole : {"flush", "browser start", "browser removed", "no outbound folder", "no backup folder",
                              "earlier outbound file stuck"})
        QTest::newRow(whole) << QString::fromLatin1(whole) << -1;
    for (const char *step : {"setup open", "setup write", "setup commit"})
        QTest::newRow(step) << QString::fromLatin1(step) << -1;
}

// Guards every claim against every fault the disk, the browser or the practice software can raise.
void TestFaults::everyFaultKeepsTheClaims()
{
    QFETCH(QString, fault);
    QFETCH(int, at);

    Rig rig;
    QVERIFY(rig.startWith(savedSetup, claims, content));

    const QString victim = at >= 0 ? claims.at(at) : QString();
    FaultyFiles &disk = *rig.disk;
    using Op = FaultyFiles::Op;
    if (fault == QLatin1String("backup copy"))
        disk.fail(Op::Copy, QStringLiteral("/claimsbu/") + victim, 100);
    else if (fault == QLatin1String("outbound copy"))
        disk.fail(Op::Copy, QStringLiteral("/claims/") + victim.left(1) + QStringLiteral(".NS2"), 100);
    else if (fault == QLatin1String("deletion"))
        disk.fail(Op::Remove, QStringLiteral("/claimin/") + victim);
    else if (fault == QLatin1String("flush"))
        disk.fail(Op::Flush, QString());
    else if (fault == QLatin1String("setup open"))
        disk.fail(Op::Open, QStringLiteral("setup.fil"));
    else if (fault == QLatin1String("setup write"))
        disk.fail(Op::Write, QStringLiteral("setup.fil"), 20);
    else if (fault == QLatin1String("setup commit"))
        disk.fail(Op::Finish, QStringLiteral("setup.fil"));
    else if (fault == QLatin1String("browser removed"))
        QFile::remove(rig.onC(QStringLiteral("program files/mozilla firefox/firefox.exe")));
    else if (fault.startsWith(QLatin1String("no ")))
        QDir(rig.onC(fault == QLatin1String("no outbound folder") ? QStringLiteral("qrn/claims") : QStringLiteral("qrn/claimsbu")))
            .removeRecursively();
    const bool stuck = fault == QLatin1String("earlier outbound file stuck");
    if (stuck) {
        rig.write(QStringLiteral("qrn/claims/OLD.NS2"));
        disk.fail(Op::Remove, QStringLiteral("/claims/OLD.NS2"));
    }
    const QString growing = rig.onC(QStringLiteral("claimin/") + victim);
    if (fault == QLatin1String("claim grows")) {
        disk.before = [=](Op op, const QString &path) {
            // The practice software writes on between the backup and the outbound copy.
            if (op == Op::Copy && path.endsWith(QStringLiteral("/claims/") + victim.left(1) + QStringLiteral(".NS2"))) {
                QFile file(growing);
                if (file.open(QIODevice::Append))
                    file.write("written while it was copied");
            }
        };
    }
    rig.host->browserFails = fault == QLatin1String("browser start");
    bool pointerBusyAtTheBox = false;
    rig.host->whileBoxShown = [&](const QString &) { pointerBusyAtTheBox = QGuiApplication::overrideCursor() != nullptr; };

    const bool saving = fault.startsWith(QLatin1String("setup"));
    if (saving) {
        rig.click("CmndSetup");
        rig.setup().SftwrFormatText()->setText(QStringLiteral("DTX"));
        rig.click("CmndSaveSetup");
        QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), savedSetup);
        QCOMPARE(rig.files(QStringLiteral("qrn")), QStringList{QStringLiteral("setup.fil")});
    } else {
        rig.click("SendClaims");
    }

    // No claim lost: each is still in the claim folder, or whole in the backup folder.
    for (const QString &claim : claims) {
        const bool kept = rig.exists(QStringLiteral("claimin/") + claim);
        const bool backedUp = rig.read(QStringLiteral("qrn/claimsbu/") + claim) == content(claim);
        QVERIFY2(kept || backedUp, qPrintable(claim));
    }
    // The user is told, in one box, in the program's terms, and it is no report of success.
    QCOMPARE(rig.host->messages.size(), 1);
    const QString &told = rig.host->messages.first();
    QVERIFY2(!told.contains(u'/') && !told.contains(QLatin1String("dosdevices")), qPrintable(told));
    const bool portalOpened = !rig.host->starts.isEmpty();
    if (portalOpened) {
        QVERIFY2(told.contains(victim) && told.contains(QLatin1String("stayed in the claim folder")), qPrintable(told));
        if (fault == QLatin1String("claim grows"))
            QVERIFY2(told.contains(victim + QStringLiteral(" (it changed while it was being copied")), qPrintable(told));
        QVERIFY(rig.exists(QStringLiteral("claimin/") + victim));
        // What stays does not go up now, partial, as well.
        for (const QString &sent : rig.files(QStringLiteral("qrn/claims")))
            QVERIFY2(!sent.startsWith(victim.left(1)) || fault == QLatin1String("deletion"), qPrintable(sent));
    } else if (!saving) {
        QVERIFY2(told.startsWith(QLatin1String("The claims were not sent.")), qPrintable(told));
        QCOMPARE(rig.files(QStringLiteral("claimin")), claims);
        QCOMPARE(rig.files(QStringLiteral("qrn/claims")), stuck ? QStringList{QStringLiteral("OLD.NS2")} : QStringList());
        QVERIFY(!rig.runtime->isOpen(rig.session->vars().LogFileNo));
    } else {
        QVERIFY2(told.startsWith(QLatin1String("The setup was not saved: c:\\qrn\\setup.fil could not be written: the "
                                               "disk is full.")), qPrintable(told));
    }
    QVERIFY(!pointerBusyAtTheBox);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestFaults::realDiskFaults_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk fills during Send Claims") << "send, full" << "the disk is full";
    QTest::newRow("backup disk read-only") << "send, read-only" << "the disk is read-only";
    QTest::newRow("disk fills during Send Claims, claims too large to read at once") << "send, full, large" << "the disk is full";
    QTest::newRow("disk full at Save Setup") << "save, full" << "the disk is full";
}

// Guards the program's own error detection against real errors of a small file system, with their
// true reason: a full disk must never empty setup.fil or pass a cut claim on.
void TestFaults::realDiskFaults()
{
    QFETCH(QString, situation);
    QFETCH(QString, reason);
    Rig rig;
    const bool readOnly = situation.endsWith(u"read-only");
    SmallDisk disk(rig.onC(readOnly ? QStringLiteral("qrn/claimsbu") : QStringLiteral("qrn")),
                   readOnly ? QStringLiteral("ro,size=64k") : QStringLiteral("size=64k"));
    if (!disk.mounted)
        QSKIP("mounting a small file system needs root");
    if (situation.endsWith(u"large"))
        QVERIFY(rig.startWith(savedSetup, claims, [](const QString &) { return QByteArray(2 << 20, 'x'); }));
    else
        QVERIFY(rig.startWith(savedSetup, claims, [](const QString &) { return QByteArray(20000, 'x'); }));

    if (situation.startsWith(QLatin1String("save"))) {
        QFile filler(rig.onC(QStringLiteral("qrn/filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
        }
        filler.close();
        rig.click("CmndSetup");
        rig.setup().SftwrFormatText()->setText(QStringLiteral("DTX"));
        rig.click("CmndSaveSetup");
        QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), savedSetup);
    } else {
        rig.click("SendClaims");
        QCOMPARE(rig.files(QStringLiteral("claimin")), claims);
        QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList());
        QVERIFY(rig.host->starts.isEmpty());
    }
    QCOMPARE(rig.host->messages.size(), 1);
    QVERIFY2(rig.host->messages[0].contains(reason) && !rig.host->messages[0].contains(u'/'),
             qPrintable(rig.host->messages[0]));
}

void TestFaults::inputWhileBusyIsDropped_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("second press after a good send") << "good send";
    QTest::newRow("press before the failure box") << "failed send";
    QTest::newRow("Exit pressed during Save Setup") << "save";
}

// Guards against clicks queued while the program worked, meant for a screen that has changed: run later,
// they would hide the real outcome behind "No Claims Found to Send" or close a box unread.
void TestFaults::inputWhileBusyIsDropped()
{
    QFETCH(QString, situation);
    Rig rig;
    QVERIFY(rig.startWith(savedSetup, claims, content));
    const bool saving = situation == QLatin1String("save");
    if (saving)
        rig.click("CmndSetup");
    QWidget *target = saving ? rig.setup().findChild<QPushButton *>(QStringLiteral("Command1"))
                             : rig.main().findChild<QPushButton *>(QStringLiteral("SendClaims"));
    bool queued = false;
    rig.disk->before = [&](FaultyFiles::Op, const QString &) {
        if (!std::exchange(queued, true))
            queueClick(target);
    };
    rig.host->browserFails = situation == QLatin1String("failed send");
    // A real box runs the event loop while it waits for its answer.
    rig.host->whileBoxShown = [](const QString &) { QCoreApplication::processEvents(); };

    rig.click(saving ? "CmndSaveSetup" : "SendClaims");
    QCoreApplication::processEvents();

    QVERIFY(queued);
    QCOMPARE(rig.host->messages.size(), situation == QLatin1String("failed send") ? 1 : 0);
    QCOMPARE(rig.host->starts.size(), situation == QLatin1String("good send") ? 1 : 0);
    QCOMPARE(rig.setup().isVisible(), saving);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
