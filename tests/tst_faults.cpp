#include "Rig.h"

#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

// Each way the disk, the browser or the practice software can fail Send Claims and Save Setup, at
// the first, a middle and the last claim file: no claim is ever lost, the user is told in the
// program's own terms, nothing half-done waits for the portal, and nothing passes for success.
class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void everyFaultKeepsTheClaims_data();
    void everyFaultKeepsTheClaims();
};

namespace {

const QStringList claims{QStringLiteral("A.001"), QStringLiteral("B.001"), QStringLiteral("C.001")};
const QByteArray savedSetup("site-id:ab12\r\nsiteswr:x\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

QByteArray content(const QString &claim)
{
    return "claim " + claim.toLatin1() + QByteArray(1000, '.');
}

} // namespace

void TestFaults::everyFaultKeepsTheClaims_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("at");   // which claim file meets it, where that means anything

    const char *perFile[] = {"backup copy", "outbound copy", "deletion", "claim grows"};
    const char *where[] = {"first", "middle", "last"};
    for (const char *fault : perFile) {
        for (int at = 0; at < 3; ++at)
            QTest::addRow("%s at the %s", fault, where[at]) << QString::fromLatin1(fault) << at;
    }
    QTest::newRow("flush") << "flush" << -1;
    QTest::newRow("browser start") << "browser start" << -1;
    for (const char *step : {"setup open", "setup write", "setup commit"})
        QTest::newRow(step) << QString::fromLatin1(step) << -1;
}

void TestFaults::everyFaultKeepsTheClaims()
{
    QFETCH(QString, fault);
    QFETCH(int, at);

    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), savedSetup);
    for (const QString &claim : claims)
        rig.write(QStringLiteral("claimin/") + claim, content(claim));
    QVERIFY(rig.start());

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
        QVERIFY(rig.exists(QStringLiteral("claimin/") + victim));
        // What stays does not go up now, partial, as well.
        for (const QString &sent : rig.files(QStringLiteral("qrn/claims")))
            QVERIFY2(!sent.startsWith(victim.left(1)) || fault == QLatin1String("deletion"), qPrintable(sent));
    } else if (!saving) {
        QVERIFY2(told.startsWith(QLatin1String("The claims were not sent.")), qPrintable(told));
        QCOMPARE(rig.files(QStringLiteral("claimin")), claims);
        QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList());
    } else {
        QVERIFY2(told.startsWith(QLatin1String("The setup was not saved: c:\\qrn\\setup.fil could not be written: the "
                                               "disk is full.")), qPrintable(told));
    }
    QVERIFY(!pointerBusyAtTheBox);
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
