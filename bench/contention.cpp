// Two QRNWebs pressing Send Claims over the same drives, round after round, at varied delays
// apart, each in a process of its own. After every round it checks what the front desk relies on:
// a claim went to exactly one opened portal, whole, and then left the claim folder, or it is still
// in the claim folder; no claim is lost or sent twice; no message names a file where it is not.
// Run: build/bench/contention [rounds] [claims]   (defaults: 20 rounds of 1500); exits 1 on a fault.
// One instance alone: contention send <drive folder> <delay ms> <record>, or contention start <drive folder>
// <record> [<files restored after a power cut>].
#include "runtime/ForwardingFileAccess.h"
#include "runtime/Host.h"
#include "runtime/Runtime.h"
#include "session/ClaimSubmission.h"
#include "session/Session.h"
#include "setup/SetupBehaviour.h"
#include "windows/DesktopWindows.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <map>

namespace {

QByteArray content(const QString &claim)
{
    return QStringLiteral("claim %1\r\n").arg(claim).toLatin1().repeated(64);
}

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

void append(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The desk of one instance: it notes every message, and at the moment the portal opens, what the
// outbound folder holds (the portal uploads that).
class RecordingHost : public Host
{
public:
    RecordingHost(QString drives, QString driveC, QString record)
        : m_drives(std::move(drives)), m_driveC(std::move(driveC)), m_record(std::move(record)) {}
    Answer messageBox(const QString &text, Buttons, const QString &details) override
    {
        append(m_record + QStringLiteral(".messages"), (text + u'\n' + details + QStringLiteral("\n\f\n")).toUtf8());
        return Answer::Ok;
    }
    bool startProgram(const QString &, const QString &, QString *) override
    {
        const QDir outbound(m_driveC + QStringLiteral("/qrn/claims"));
        QByteArray seen;
        for (const QString &name : outbound.entryList(QDir::Files)) {
            QFile file(outbound.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                qFatal("cannot read %s", qPrintable(name));
            seen += name.toUtf8() + ' ' + digest(file.readAll()) + '\n';
        }
        append(m_record + QStringLiteral(".portal"), seen);
        return true;
    }
    void progress(const QString &, qint64, qint64) override {}
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    QString driveFolder() const override { return m_drives; }

private:
    QString m_drives, m_driveC, m_record;
};

// The disk after a power cut, as tools/powercut.py writes it back: a file it had to make anew is the
// very file it stands for, which the system would have kept. Each line: its identity now, then the
// stamp it had (size, time written, volume, file, time changed).
class AsItWas : public ForwardingFileAccess
{
public:
    explicit AsItWas(const QString &list)
    {
        QFile file(list);
        if (!file.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> n = line.split(' ');
            if (n.size() == 7)
                m_was.insert({n[0].toULongLong(), n[1].toULongLong()},
                             {n[2].toLongLong(), n[3].toLongLong(), n[4].toULongLong(), n[5].toULongLong(), n[6].toLongLong(), 0, {}});
        }
    }
    Stamp stamp(const QString &hostPath) override
    {
        const Stamp now = ForwardingFileAccess::stamp(hostPath);
        Stamp was = m_was.value({now.volume, now.file}, now);
        was.links = now.links;
        return was;
    }

private:
    QHash<QPair<quint64, quint64>, Stamp> m_was;
};

// On Windows the drives are the machine's own: drive C: itself (under Wine, the prefix's).
QString driveOf(const QString &drives)
{
    return QSysInfo::kernelType() == QLatin1String("winnt") ? QStringLiteral("C:") : drives + QStringLiteral("/c:");
}

// A negative delay only starts the program.
int sendOnce(const QString &drives, int delayMs, const QString &record, const QString &restored = {})
{
    QThread::msleep(qMax(delayMs, 0));
    RecordingHost host(drives, driveOf(drives), record);
    Runtime runtime(host, std::make_unique<AsItWas>(restored));
    Session session(runtime, SetupBehaviour::hooks());
    DesktopWindows windows(session);
    if (!session.start())
        return 2;
    if (delayMs < 0)
        return 0;
    const SendOutcome outcome = ClaimSubmission::sendClaims(session);
    if (!outcome.message.isEmpty())
        runtime.messageBox(outcome.message, Host::Buttons::Ok, outcome.details);
    return 0;
}

QString claimName(int round, int i)
{
    return QStringLiteral("R%1C%2").arg(round, 2, 10, QLatin1Char('0')).arg(i, 4, 10, QLatin1Char('0'));
}

int faults = 0;

void fault(const QString &what)
{
    std::printf("FAULT: %s\n", qPrintable(what));
    ++faults;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("send"))
        return sendOnce(args[2], args[3].toInt(), args[4]);
    // Only started, as after a power cut: what start-up finishes, and what it says.
    if (args.size() >= 4 && args[1] == QLatin1String("start"))
        return sendOnce(args[2], -1, args[3], args.value(4));
    const int rounds = args.size() > 1 ? args[1].toInt() : 20;
    const int count = args.size() > 2 ? args[2].toInt() : 1500;

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/contention-XXXXXX"));
    const QString drives = dir.filePath(QStringLiteral("dosdevices"));
    QDir().mkpath(drives);
    QDir().mkpath(dir.filePath(QStringLiteral("drive_c")));
    QFile::link(dir.filePath(QStringLiteral("drive_c")), drives + QStringLiteral("/c:"));
    const QString driveC = driveOf(drives);
    const QString claimin = driveC + QStringLiteral("/claimin/");
    for (const char *folder : {"/claimin", "/qrn/claims", "/qrn/claimsbu"})
        QDir(driveC + QLatin1String(folder)).removeRecursively();
    QDir().mkpath(claimin);
    QDir().mkpath(driveC + QStringLiteral("/program files/mozilla firefox"));
    append(driveC + QStringLiteral("/program files/mozilla firefox/firefox.exe"), "#!/bin/sh\n");
    QDir().mkpath(driveC + QStringLiteral("/qrn"));
    QFile::remove(driveC + QStringLiteral("/qrn/setup.fil"));
    append(driveC + QStringLiteral("/qrn/setup.fil"),
           "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.TXT\r\n");

    std::map<QString, int> uploads;   // claim → portals it went to
    const int delays[] = {0, 0, 3, 10, 25, 50, 80, 120, 170, 230, 300, 400, 600, 900, 1300, 2000};
    int refused = 0, portals = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < count; ++i)
            append(claimin + claimName(round, i) + QStringLiteral(".TXT"), content(claimName(round, i)));
        const int delay = delays[round % std::size(delays)];
        QProcess instances[2];
        QString records[2];
        for (int n = 0; n < 2; ++n) {
            records[n] = dir.filePath(QStringLiteral("round%1-%2").arg(round).arg(n));
            // Which instance is the later one alternates.
            const int wait = (n == round % 2) ? delay : 0;
            instances[n].start(app.applicationFilePath(), {QStringLiteral("send"), drives, QString::number(wait), records[n]});
        }
        for (QProcess &instance : instances) {
            if (!instance.waitForFinished(300000) || instance.exitCode() != 0)
                fault(QStringLiteral("round %1: an instance failed: %2").arg(round).arg(QString::fromLocal8Bit(instance.readAllStandardError())));
        }
        for (const QString &record : records) {
            const QByteArray portal = readAll(record + QStringLiteral(".portal"));
            if (QFile::exists(record + QStringLiteral(".portal")))
                ++portals;
            for (const QByteArray &line : portal.split('\n')) {
                if (line.isEmpty())
                    continue;
                const QList<QByteArray> parts = line.split(' ');
                const QString claim = QString::fromUtf8(parts[0]).section(u'.', 0, 0);
                if (parts[0] != (claim + QStringLiteral(".NS2")).toUtf8() || parts[1] != digest(content(claim)))
                    fault(QStringLiteral("round %1: %2 reached the portal not whole").arg(round).arg(QString::fromUtf8(parts[0])));
                if (readAll(driveC + QStringLiteral("/qrn/claimsbu/") + claim + QStringLiteral(".TXT")) != content(claim))
                    fault(QStringLiteral("round %1: %2 was sent without its backup").arg(round).arg(claim));
                ++uploads[claim];
            }
            const QString messages = QString::fromUtf8(readAll(record + QStringLiteral(".messages")));
            if (messages.contains(QLatin1String("already sending")))
                ++refused;
            // With no other program at work, a claim named in a message can only be one that stayed.
            static const QRegularExpression named(QStringLiteral("(R\\d\\dC\\d{4}\\.TXT)"));
            for (auto match = named.globalMatch(messages); match.hasNext();) {
                const QString claim = match.next().captured(1);
                if (!messages.contains(QLatin1String("stayed in the claim folder")) || !QFile::exists(claimin + claim))
                    fault(QStringLiteral("round %1: a message names %2, which is not in the claim folder: %3").arg(round).arg(claim, messages));
            }
        }
        for (int i = 0; i < count; ++i) {
            const QString claim = claimName(round, i);
            const bool waiting = QFile::exists(claimin + claim + QStringLiteral(".TXT"));
            if (waiting && uploads[claim] > 0)
                fault(QStringLiteral("round %1: %2 went to the portal and is still in the claim folder").arg(round).arg(claim));
        }
    }
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < count; ++i) {
            const QString claim = claimName(round, i);
            const bool waiting = QFile::exists(claimin + claim + QStringLiteral(".TXT"));
            if (uploads[claim] > 1 || (uploads[claim] == 0 && !waiting))
                fault(QStringLiteral("%1 went to %2 portals and is %3 the claim folder")
                          .arg(claim).arg(uploads[claim]).arg(waiting ? "in" : "not in"));
        }
    }
    std::printf("%d rounds of %d claims, two instances: %d portals opened, %d presses refused as busy, "
                "%lld s; %d faults\n", rounds, count, portals, refused, timer.elapsed() / 1000, faults);
    return faults ? 1 : 0;
}
