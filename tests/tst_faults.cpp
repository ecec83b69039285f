#include "Rig.h"

#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

// Each host operation that Send Claims and Save Setup rely on, made to fail at the first, a middle
// and the last claim file: no claim is ever lost, the user is told, and nothing passes for success.
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
    QTest::newRow("sync") << "sync" << -1;
    QTest::newRow("browser start") << "browser start" << -1;
    QTest::newRow("setup write") << "setup write" << -1;
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
    const QString base = victim.left(1);
    const QString growing = rig.onC(QStringLiteral("claimin/") + victim);
    rig.host->refuse = [=](Host::Operation op, const QString &path) {
        if (fault == QLatin1String("backup copy"))
            return op == Host::Operation::Copy && path.endsWith(QStringLiteral("/claimsbu/") + victim);
        if (fault == QLatin1String("outbound copy"))
            return op == Host::Operation::Copy && path.endsWith(QStringLiteral("/claims/") + base + QStringLiteral(".NS2"));
        if (fault == QLatin1String("deletion"))
            return op == Host::Operation::Delete && path.endsWith(QStringLiteral("/claimin/") + victim);
        if (fault == QLatin1String("claim grows") && op == Host::Operation::Copy
            && path.endsWith(QStringLiteral("/claimsbu/") + victim)) {
            QFile file(growing);
            if (file.open(QIODevice::Append))
                file.write("written while it was copied");
        }
        if (fault == QLatin1String("sync"))
            return op == Host::Operation::Sync;
        if (fault == QLatin1String("setup write"))
            return op == Host::Operation::Save;
        return false;
    };
    rig.host->browserFails = fault == QLatin1String("browser start");
    bool pointerBusyAtTheBox = false;
    rig.host->whileBoxShown = [&](const QString &) { pointerBusyAtTheBox = QGuiApplication::overrideCursor() != nullptr; };

    if (fault == QLatin1String("setup write")) {
        rig.click("CmndSetup");
        rig.setup().SftwrFormatText()->setText(QStringLiteral("DTX"));
        rig.click("CmndSaveSetup");
        QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")), savedSetup);
    } else {
        rig.click("SendClaims");
    }

    // No claim lost: each is still in the claim folder, or whole in the backup folder.
    for (const QString &claim : claims) {
        const bool kept = rig.exists(QStringLiteral("claimin/") + claim);
        const bool backedUp = rig.read(QStringLiteral("qrn/claimsbu/") + claim) == content(claim);
        QVERIFY2(kept || backedUp, qPrintable(claim));
    }
    // The user is told, in one box, and it is no report of success.
    QCOMPARE(rig.host->messages.size(), 1);
    const QString &told = rig.host->messages.first();
    const bool portalOpened = !rig.host->starts.isEmpty();
    if (portalOpened) {
        QVERIFY2(told.contains(victim) && told.contains(QLatin1String("stayed in the claim folder")), qPrintable(told));
        QVERIFY(rig.exists(QStringLiteral("claimin/") + victim));
    } else if (fault != QLatin1String("setup write")) {
        QVERIFY2(told.startsWith(QLatin1String("The claims were not sent.")), qPrintable(told));
        QCOMPARE(rig.files(QStringLiteral("claimin")), claims);
    } else {
        QVERIFY2(told.startsWith(QLatin1String("The setup was not saved")), qPrintable(told));
    }
    QVERIFY(!pointerBusyAtTheBox);
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
