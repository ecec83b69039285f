#include "Rig.h"
#include "session/ClaimSubmission.h"
#include "session/PortalCommands.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTest>


using Fate = ClaimRecord::Fate;

namespace {

const QStringList claims{u"A.001"_s, u"B.001"_s, u"C.001"_s};
const QByteArray savedSetup("site-id:ab12\r\nsiteswr:x\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

// Lengths of 51, 56 and 61 past the last whole 64 bytes: the digest's padding takes one block or two.
QByteArray content(const QString &claim)
{
    return "claim " + claim.toLatin1() + QByteArray(1000 + 5 * (claim.at(0).unicode() - u'A'), '.');
}

// Saves the setup with a changed format code, the way a person would.
void saveSetup(Rig &rig)
{
    rig.click("CmndSetup");
    rig.edit({u"SftwrFormatText=DTX"_s});
    rig.click("CmndSaveSetup");
}

} // namespace

// Each way the disk, the browser or the practice software can fail Send Claims and Save Setup, at
// the first, a middle and the last claim file: no claim is ever lost, the user is told in the
// program's own terms, nothing half-done waits for the portal, and nothing passes for success.
class TestFaults : public QObject
{
    Q_OBJECT

    // More than Send Claims takes here (86 on Linux, 78 under Wine): each step is a call on the disk,
    // a round trip on a share, and a Send Claims that looked every name up again (147) fails.
    static constexpr int cutOffSteps = 100;

private slots:
    void everyFaultKeepsTheClaims_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("at");   // which claim file meets it, where that means anything
        QTest::addColumn<Fate>("fate");   // what becomes of it; the others go, unless nothing goes
        const char *where[] = {"first", "middle", "last"};
        const std::pair<const char *, Fate> one[] = {
            {"backup copy", Fate::NotSent}, {"outbound copy", Fate::NotSent}, {"deletion", Fate::NotRemovable},
            {"claim grows", Fate::ChangedWhileCopied}, {"claim held open", Fate::InUse}, {"claim replaced alike", Fate::ChangedWhileSent},
            {"claim rewritten alike", Fate::ChangedWhileSent}, {"backup cut", Fate::BackupNotWhole},
            {"status unreadable", Fate::StatusUnknown}, {"status unreadable at the removal", Fate::NotRemovable},
            {"voided before its copy", Fate::Voided}, {"voided before the portal", Fate::GoneBeforePortal},
            {"voided as the portal opens", Fate::GoneAfterPortal}};
        for (const auto &[fault, fate] : one) {
            for (int at = 0; at < 3; ++at)
                QTest::addRow("%s at the %s", fault, where[at]) << QString::fromLatin1(fault) << at << fate;
        }
        for (const char *whole : {"flush", "browser start", "browser removed", "no outbound folder", "no backup folder", "no base folder",
                                  "earlier outbound file stuck", "setup open", "setup write", "setup commit", "setup flush", "history read", "history write", "history flush", "journal write",
                                  "status read before the copies", "folders not told apart"})
            QTest::newRow(whole) << QString::fromLatin1(whole) << -1 << Fate::NotSent;
        QTest::newRow("all voided before their copies") << u"voided before its copy"_s << -1 << Fate::Voided;
        QTest::newRow("all voided before the portal") << u"voided before the portal"_s << -1 << Fate::GoneBeforePortal;
    }

    // Guards every claim against every fault the disk, the browser or the practice software can raise.
    void everyFaultKeepsTheClaims()
    {
        QFETCH(QString, fault);
        QFETCH(int, at);
        QFETCH(Fate, fate);
        Rig rig;
        QVERIFY(rig.startWith(savedSetup, claims, content));

        const QString victim = claims.value(at), sentAs = u"/claims/"_s + victim.left(1) + u".NS2"_s;
        using Op = FaultyFiles::Op;
        const QHash<QString, FaultyFiles::Fault> faults{
            {u"backup copy"_s, {Op::Copy, u"09.05.07/"_s + victim, 100}}, {u"outbound copy"_s, {Op::Copy, sentAs, 100}},
            {u"deletion"_s, {Op::Remove, u"/claimin/"_s + victim, 0}}, {u"flush"_s, {Op::Flush, QString(), 0}},
            {u"setup open"_s, {Op::Open, u"setup.fil"_s, 0}}, {u"setup write"_s, {Op::Write, u"setup.fil"_s, 20}},
            {u"setup commit"_s, {Op::Finish, u"setup.fil"_s, 0}}, {u"history write"_s, {Op::Write, u"history.txt"_s, 0}},
            {u"history read"_s, {Op::Open, u"history.txt"_s, 0}},
            {u"journal write"_s, {Op::Write, u"sending.txt"_s, 10}}, {u"earlier outbound file stuck"_s, {Op::Remove, u"/claims/OLD.NS2"_s, 0}},
            {u"status unreadable"_s, {Op::Stamp, u"/claimin/"_s + victim, 0}},
            {u"status read before the copies"_s, {Op::Status, u"/claimin"_s, 0}}, {u"folders not told apart"_s, {Op::Status, u"|"_s, 0}}};
        if (faults.contains(fault))
            rig.disk->faults << faults[fault];
        // A share that drops for a moment once the portal is open: the claims are all still there.
        if (fault == u"status unreadable at the removal")
            rig.host->whileStarting = [&] { rig.disk->fail(Op::Stamp, u"/claimin/"_s + victim); };
        const bool stuck = fault.startsWith(u"earlier"), saving = fault.startsWith(u"setup");
        if (stuck)
            rig.write(u"qrn/claims/OLD.NS2"_s);
        // An earlier version's history, in the code page, that cannot be opened to be carried over.
        if (fault == u"history read")
            rig.write(u"qrn/log/history.txt"_s, "2026-03-01 08:00:00\tan earlier line\r\n");
        if (fault == u"browser removed")
            QFile::remove(rig.onC(u"program files/mozilla firefox/firefox.exe"_s));
        if (fault.startsWith(u"no "))
            QDir(rig.onC(fault.contains(u"outbound") ? u"qrn/claims"_s : fault.contains(u"backup") ? u"qrn/claimsbu"_s : u"qrn"_s)).removeRecursively();
        if (fault == u"backup cut") {
            // Something else shortens the backup once it is written, before the portal opens.
            rig.disk->before = [&](Op op, const QString &) {
                if (op == Op::Flush)
                    QFile(rig.onC(u"qrn/claimsbu/"_s + victim)).resize(3);
            };
        }
        // The practice software voids a claim while it is sent; with no victim, every claim.
        if (fault.startsWith(u"voided")) {
            const auto take = [&] { for (const QString &claim : at < 0 ? claims : QStringList{victim}) QFile::remove(rig.onC(u"claimin/"_s + claim)); };
            rig.disk->before = [=](Op op, const QString &path) {
                if ((fault.endsWith(u"copy") && op == Op::Copy && path.endsWith(u"09.05.07/"_s + (at < 0 ? claims.first() : victim)))
                    || (fault.endsWith(u"portal") && op == Op::Flush))
                    take();
            };
            if (fault.endsWith(u"opens"))
                rig.host->whileStarting = take;
        }
        if (fault == u"claim grows") {
            // The practice software writes on between the backup and the outbound copy.
            rig.disk->before = [&](Op op, const QString &path) {
                QFile file(rig.onC(u"claimin/"_s + victim));
                if (op == Op::Copy && path.endsWith(sentAs) && file.open(QIODevice::Append))
                    file.write("written while it was copied");
            };
        }
        if (fault.endsWith(u"alike")) {
            // The same size and, as copies that keep times leave it, the same time: only what the
            // file is tells the new claim from the one sent.
            const QString path = rig.onC(u"claimin/"_s + victim);
            const QDateTime time(QDate(2026, 3, 1), QTime(8, 0));
            QFile claim(path);
            QVERIFY(claim.open(QIODevice::ReadWrite) && claim.setFileTime(time, QFileDevice::FileModificationTime));
            claim.close();
            rig.host->whileStarting = [=] {
                QFile file(fault.startsWith(u"claim replaced") ? path + u".new"_s : path);
                QVERIFY(file.open(QIODevice::ReadWrite) && file.write(content(victim).replace("claim", "CLAIM")) > 0 && file.flush());
                QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
                file.close();
                QVERIFY(file.fileName() == path || (QFile::remove(path) && file.rename(path)));
            };
        }
        std::shared_ptr<void> held;   // by the practice software, which neither lets it change nor go
        if (fault == u"claim held open") {
            QString cannot;
            held = Rig::holdOpen(rig.onC(u"claimin/"_s + victim), &cannot);
            if (!cannot.isEmpty())
                QSKIP(qPrintable(cannot));
        }
        rig.host->browserFails = fault == u"browser start";
        if (const QString cannot = fault.endsWith(u"flush") && fault != u"flush" ? Rig::failNextFlush() : QString(); !cannot.isEmpty())
            QSKIP(qPrintable(cannot));

        SendOutcome outcome;
        if (saving) {
            saveSetup(rig);
            QCOMPARE(rig.read(u"qrn/setup.fil"_s), savedSetup);
            QCOMPARE(rig.files(u"qrn"_s), QStringList{u"setup.fil"_s});
            QCOMPARE(rig.host->messages.size(), 1);
            outcome.message = rig.host->messages.first();
        } else {
            outcome = ClaimSubmission::sendClaims(*rig.session);
            QVERIFY(rig.host->messages.isEmpty());
            QCOMPARE(outcome.portalOpened(), !rig.host->starts.isEmpty());
            QCOMPARE(outcome.names([](const ClaimRecord &) { return true; }), claims);
            // What it says went is gone from the claim folder and whole in the backup; what stayed is there.
            for (const ClaimRecord &claim : std::as_const(outcome.claims)) {
                QCOMPARE(claim.fate, claim.name == victim || at < 0 || fate == Fate::NotSent ? fate : Fate::Sent);
                QCOMPARE(rig.exists(u"claimin/"_s + claim.name), claim.stays());
                // One that changed or was held while it was copied keeps no newest copy of what it was then.
                if (claim.fate == Fate::ChangedWhileCopied || claim.fate == Fate::InUse)
                    QVERIFY(!rig.exists(u"qrn/claimsbu/"_s + claim.name));
                if (claim.fate == Fate::Sent || claim.removedElsewhere())
                    QCOMPARE(rig.read(u"qrn/claimsbu/2026-03-04 09.05.07/"_s + claim.name), content(claim.name));
            }
            // The history tells how each claim the portal was to get ended, what it held and where it is kept.
            const QStringList history = QString::fromUtf8(rig.read(u"qrn/log/history.txt"_s)).split(u"\r\n"_s);
            for (const ClaimRecord &claim : std::as_const(outcome.claims)) {
                const QStringList told = history.filter(u"\t"_s + claim.name + u'\t');
                const QString ending = claim.fate == Fate::Sent ? u"\tsent; taken out of the claim folder"_s
                    : claim.fate == Fate::Voided             ? u"\tvoided before its copy; not sent"_s
                    : claim.removedElsewhere()               ? u"\tremoved by another program: "_s
                                                             : u"\tstays in the claim folder: "_s;
                QVERIFY2(told.isEmpty() ? !outcome.portalOpened() : told.last().contains(ending), qPrintable(claim.name));
                if (claim.fate == Fate::Sent) {
                    const QByteArray sha = QCryptographicHash::hash(content(claim.name), QCryptographicHash::Sha256).toHex();
                    QVERIFY(told.last().contains(u"\tSHA-256 "_s + QString::fromLatin1(sha) + u'\t'));
                }
                // One never copied is told without a size, a digest or a backup, in the same columns.
                if (!claim.stamp.exists() && !told.isEmpty())
                    QVERIFY2(!told.last().contains(u"\tkept as "_s), qPrintable(told.last()));
                QVERIFY2(told.isEmpty() || told.last().count(u'\t') == 6, qPrintable(told.value(0)));
            }
            // The claim that stayed is the new one the practice software wrote, not the one sent.
            QVERIFY(!fault.endsWith(u"alike") || rig.read(u"claimin/"_s + victim).startsWith("CLAIM"));
        }

        // The user is told, in one box, in the program's terms, and it is no report of success.
        const QString &told = outcome.message;
        QVERIFY2(!told.contains(u'/') && !told.contains(u"dosdevices"), qPrintable(told));
        const bool gone = fate == Fate::GoneBeforePortal || fate == Fate::GoneAfterPortal;
        if (!rig.host->starts.isEmpty()) {
            const QString list = gone ? u"were removed by another program after they were copied:\n"_s : u"stayed in the claim folder:\n"_s;
            QVERIFY2(fate == Fate::Voided ? told.isEmpty() : told.startsWith(u"The portal was opened, but these claim files "_s + list + victim + u" ("_s),
                     qPrintable(told));
            // What stays does not go up now, partial, as well; what was on its way when it went does.
            const bool onItsWay = fault == u"deletion" || fault.endsWith(u"alike") || fault.endsWith(u"removal") || fault.endsWith(u"opens");
            QCOMPARE(rig.files(u"qrn/claims"_s).filter(victim.left(1)).size(), onItsWay ? 1 : 0);
        } else if (fate == Fate::Voided) {
            QCOMPARE(told, u"No Claims Found to Send"_s);
        } else if (fate == Fate::GoneBeforePortal) {   // copied, then all taken away: none went, and that is no "none found"
            QVERIFY2(told.startsWith(u"The claims were not sent. None of the claim files could be sent:\nA.001 (it was not sent; "_s), qPrintable(told));
        } else if (!saving) {
            QVERIFY2(told.startsWith(u"The claims were not sent."), qPrintable(told));
            QCOMPARE(rig.files(u"claimin"_s), claims);
            QCOMPARE(rig.files(u"qrn/claims"_s), stuck ? QStringList{u"OLD.NS2"_s} : QStringList());
            QCOMPARE(rig.files(u"qrn/log"_s).filter(u"sending"_s), QStringList());
            QVERIFY(!rig.logOpen());
        } else {
            QVERIFY2(told.startsWith(u"The setup was not saved: c:\\qrn\\setup.fil could not be written: the disk is full."),
                     qPrintable(told));
        }
    }

    // Guards two runs of QRNWeb over the same drives: while one sends, the other's Send Claims and Get
    // Reports say so and touch nothing, so that no claim's copy is emptied out or sent twice.
    void secondRunWaits()
    {
        Rig rig;
        QVERIFY(rig.startWith(savedSetup, claims, content));
        // While it copies, and once its portal opened (its record would read as a run cut off).
        int copies = 0, removals = 0;
        rig.disk->before = [&](FaultyFiles::Op op, const QString &path) {
            if (!(op == FaultyFiles::Op::Copy && copies++ == 1) && !(op == FaultyFiles::Op::Remove && path.contains(u"/claimin/") && removals++ == 0))
                return;
            // A person tidying the base folder meanwhile takes nothing that holds the lock away.
            QFile::remove(rig.onC(u"qrn/qrnweb.lck"_s));
            Runtime runtime(*rig.host, makeNativeFileAccess());
            Session other(runtime, SetupBehaviour::hooks());
            DesktopWindows windows(other);
            QVERIFY(other.start());
            const SendOutcome refused = ClaimSubmission::sendClaims(other);
            QVERIFY(!refused.portalOpened() && refused.claims.isEmpty());
            rig.host->messages << refused.message;
            PortalCommands::getReports(other);
        };
        rig.click("SendClaims");
        QCOMPARE(rig.host->messages, QStringList(4, u"QRNWeb is already sending claims on this computer; try again when it has finished."_s));
        QCOMPARE(rig.host->starts.size(), 1);
        QCOMPARE(rig.files(u"qrn/claims"_s), (QStringList{u"A.NS2"_s, u"B.NS2"_s, u"C.NS2"_s}));
        QCOMPARE(rig.files(u"claimin"_s), QStringList());
    }

    void cutOffAtEachStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("powerCut");
        for (int step = 0; step < cutOffSteps; ++step) {
            QTest::addRow("killed at step %d", step) << step << false;
            QTest::addRow("power cut at step %d", step) << step << true;
        }
    }

    // Guards a run killed, or cut off with what the disk had not flushed, at any step of Send Claims,
    // each file operation and the browser start: at the next start every claim is in the claim
    // folder, or went to the portal that opened and is kept whole; a submission cut off after its
    // portal opened is finished, with one message, and none of its claims goes to a second portal.
    void cutOffAtEachStep()
    {
        QFETCH(int, step);
        QFETCH(bool, powerCut);
        // Names that the journal must hold whole to find them again: a tab and a line break where the
        // system allows them, characters outside the code page, and what reads like an escape.
        const QStringList claims = *Rig::system.noDriveFolder ? QStringList{u"A%4F.001"_s, u"B\u0141\u00D3D\u0179.001"_s, u"C.001"_s}
                                                              : QStringList{u"A\t%4F.001"_s, u"B\u0141\u00D3D\u0179\n.001"_s, u"C.001"_s};
        const auto sentAs = [](const QString &claim) { return claim.section(u'.', 0, 0) + u".NS2"_s; };
        const auto written = [](QString claim) { return claim.replace(u"%4F"_s, u"%254F"_s).replace(u'\t', u"%09"_s).replace(u'\n', u"%0A"_s); };
        Rig rig;
        QVERIFY(rig.startWith(savedSetup, claims, content));
        rig.disk->cacheFrom({rig.onC(u"qrn"_s), rig.onC(u"claimin"_s)});
        struct Killed {};
        int steps = 0;
        QStringList portal;   // what the portal that opened got
        rig.disk->before = [&](FaultyFiles::Op, const QString &) {
            if (steps++ == step)
                throw Killed{};
        };
        rig.host->whileStarting = [&] {
            portal = rig.files(u"qrn/claims"_s);
            if (steps++ == step)
                throw Killed{};
        };
        try {
            ClaimSubmission::sendClaims(*rig.session);
            QSKIP("Send Claims has fewer steps");
        } catch (Killed) {
            QVERIFY2(step + 1 < cutOffSteps, "Send Claims has more steps than the rows: the last are not cut");
        }
        rig.disk->before = nullptr;
        rig.host->whileStarting = nullptr;
        if (powerCut)
            rig.disk->powerCut();
        const bool cutOff = !portal.isEmpty() && rig.files(u"claimin"_s).size() + portal.size() > claims.size();
        // A claim the practice software rewrote since stays, and is named (after a kill; after a power
        // cut every claim is as it was sent).
        QFile rewritten(rig.onC(u"claimin/C.001"_s));
        if (!cutOff || powerCut || !portal.contains(u"C.NS2"_s) || !rewritten.open(QIODevice::Append) || rewritten.write("more") != 4)
            rewritten.setFileName(QString());
        rewritten.close();
        const bool changed = !rewritten.fileName().isEmpty();
        // The start finishes it on a slow disk, and shows how far it has come.
        bool finishing = false;
        QVERIFY(rig.restart([&](FaultyFiles::Op, const QString &) {
            rig.host->clock = rig.host->clock.addMSecs(400);
            for (QWidget *shown : QApplication::topLevelWidgets()) {
                const auto *window = qobject_cast<QProgressDialog *>(shown);
                finishing = finishing || (window && window->isVisible() && window->labelText()
                                          == u"Finishing the Send Claims of 03-04-2026 at 09:05:07: claim %1 of %2"_s.arg(window->value() + 1).arg(window->maximum()));
            }
        }));
        // Cut off before the browser's start was on disk, the claims stay, and the person is told so.
        const QString told = rig.host->messages.value(0);
        const bool unknown = told.contains(u"was cut off before QRNWeb knew whether the portal opened."_s);
        QVERIFY(finishing || !cutOff || unknown);
        QCOMPARE(rig.host->messages.size(), cutOff || unknown ? 1 : 0);
        QVERIFY2(!cutOff || unknown
                     || (told.startsWith(u"The Send Claims of 03-04-2026 at 09:05:07 was cut off after the portal opened.")
                         && told.contains(u"claimsbu\\2026-03-04 09.05.07\\."_s)),
                 qPrintable(told));
        QVERIFY2(!changed || unknown || told.contains(u"stayed in the claim folder:\nC.001 (it changed while it was being sent"_s), qPrintable(told));
        QVERIFY2(!portal.isEmpty() || !told.contains(u"after the portal opened"_s), qPrintable(told));
        const QStringList history = QString::fromUtf8(rig.read(u"qrn/log/history.txt"_s)).split(u"\r\n"_s);
        for (const QString &claim : claims) {
            const bool sent = portal.contains(sentAs(claim)) && !unknown;
            QVERIFY2(rig.exists(u"claimin/"_s + claim) != sent || (changed && claim == u"C.001"), qPrintable(claim));
            QVERIFY(!sent || (rig.read(u"qrn/claimsbu/2026-03-04 09.05.07/"_s + claim) == content(claim)
                              && history.filter(u'\t' + written(claim) + u'\t').value(1).contains(changed && claim == u"C.001" ? u"\tstays in the claim folder: it changed"_s : u"\tsent; "_s)));
        }
        // Nothing of it waits in the outbound folder for a portal that Get Reports would open.
        QVERIFY(!unknown || rig.files(u"qrn/claims"_s).isEmpty());
        QStringList second;
        rig.host->whileStarting = [&] { second = rig.files(u"qrn/claims"_s); };
        rig.click("SendClaims");
        for (const QString &again : std::as_const(second))
            QVERIFY2(!portal.contains(again) || unknown || (changed && again == u"C.NS2"), qPrintable(again));
    }

    void inputWhileBusyIsDropped_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("second press after a good send") << "good send";
        QTest::newRow("second press during a slow send, its progress shown") << "slow send";
        QTest::newRow("a claim folder slow to list, its progress shown") << "slow claim folder";
        QTest::newRow("an outbound folder slow to empty, its progress shown") << "slow outbound folder";
        QTest::newRow("press before the failure box") << "failed send";
        QTest::newRow("Exit pressed during Save Setup") << "save";
    }

    // Guards against clicks queued while the program worked, meant for a screen that has changed: run later,
    // they would hide the real outcome behind "No Claims Found to Send" or close a box unread.
    void inputWhileBusyIsDropped()
    {
        QFETCH(QString, situation);
        Rig rig;
        QVERIFY(rig.startWith(savedSetup, claims, content));
        const bool saving = situation == u"save";
        if (saving)
            rig.click("CmndSetup");
        for (const char *old : {"OLD1.NS2", "OLD2.NS2", "OLD3.NS2"}) {
            if (situation == u"slow outbound folder")
                rig.write(u"qrn/claims/"_s + QLatin1String(old));
        }
        QWidget *target = rig.find(saving ? "Command1" : "SendClaims");
        bool queued = false;
        QStringList progress;   // what the progress window said, each time the disk was reached
        int furthest = 0;       // and how far its bar went
        rig.disk->before = [&](FaultyFiles::Op op, const QString &path) {
            if (situation == u"slow send")   // a quarter of a second a step: one report falls on the second itself
                rig.host->clock = rig.host->clock.addMSecs(250);
            if (situation == u"slow claim folder" && op == FaultyFiles::Op::List)
                rig.host->clock = rig.host->clock.addMSecs(1500);
            if (situation == u"slow outbound folder" && op == FaultyFiles::Op::Remove && path.contains(u"OLD"_s))
                rig.host->clock = rig.host->clock.addMSecs(600);
            for (QWidget *shown : QApplication::topLevelWidgets()) {
                if (shown->objectName() == u"Progress" && shown->isVisible()) {
                    // What is under way cannot be stopped halfway: the window has no button.
                    progress << shown->findChild<QLabel *>()->text() + (shown->findChild<QPushButton *>() ? u" [Cancel]"_s : QString());
                    furthest = qMax(furthest, static_cast<QProgressDialog *>(shown)->value());
                }
            }
            // Pressed the way a queued click arrives: after the work that is under way.
            const QPointF at(target->rect().center());
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                if (!queued)
                    QCoreApplication::postEvent(target, new QMouseEvent(type, at, target->mapToGlobal(at), Qt::LeftButton,
                                                                        Qt::LeftButton, Qt::NoModifier));
            }
            queued = true;
        };
        rig.host->browserFails = situation == u"failed send";
        bool timed = false;   // what the system sends meanwhile is no input: it still arrives
        QTimer::singleShot(0, [&] { timed = true; });
        // A real box runs the event loop while it waits for its answer.
        rig.host->whileBoxShown = [](const QString &) { QCoreApplication::processEvents(); };
        rig.click(saving ? "CmndSaveSetup" : "SendClaims");
        QCoreApplication::processEvents();
        QVERIFY(queued && timed);
        QCOMPARE(rig.host->messages.size(), situation == u"failed send" ? 1 : 0);
        QCOMPARE(rig.host->starts.size(), situation == u"save" || situation == u"failed send" ? 0 : 1);
        QCOMPARE(rig.session->setupWindow().isShown(), saving);
        // Shown once the work has taken a second, never before, and gone when it ends.
        QCOMPARE(progress.contains(u"Copying claim 3 of 3"_s) && progress.contains(u"Removing claim 2 of 3 from the claim folder"_s),
                 situation == u"slow send");
        QCOMPARE(progress.contains(u"Reading the claim folder"_s), situation == u"slow claim folder");
        QVERIFY(progress.contains(u"Emptying the outbound folder"_s) || situation != u"slow outbound folder");
        QCOMPARE(furthest > 0, situation == u"slow send");
        for (QWidget *shown : QApplication::topLevelWidgets())
            QVERIFY(shown->objectName() != u"Progress" || !shown->isVisible());
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
