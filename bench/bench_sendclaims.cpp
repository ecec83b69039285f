// Times Send Claims on many small claim files, phase by phase, pressed in the real windows with the
// desktop host's progress window, against coreutils doing the same work: cp -p into the backup folder
// and cp into the outbound folder, sync, rm.
// Run: [BENCH_SETTLE=seconds] [BENCH_ALONE=1] [BENCH_CLAIMS=folder] build/bench/bench_sendclaims [runs] [counts...]
// (defaults: 5 runs of 1000 and 10000). BENCH_CLAIMS puts the claim folder, on both sides, in that
// folder (a share, or bench/slowfs.py), and everything else in the current one.
#include "runtime/ForwardingFileAccess.h"
#include "runtime/Runtime.h"
#include "session/Session.h"
#include "setup/SetupBehaviour.h"
#include "windows/DesktopHost.h"
#include "windows/DesktopWindows.h"
#include "windows/Form1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

namespace {

struct Phases
{
    double copies = 0, flush = 0, removals = 0;
    double user = 0, system = 0;   // processor time spent in each
    double total() const { return copies + flush + removals; }
};

// Processor time so far, in user space and in the kernel: this process's, or its children's.
std::pair<double, double> processorTime(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

// Says when the flush starts and ends; everything before it is the copying, everything after the
// removals (and the browser start).
class PhaseClock : public ForwardingFileAccess
{
public:
    QElapsedTimer clock;
    qint64 flushStart = 0, flushEnd = 0;

    // The copies' flush, before the portal opens; the one after the removals belongs to them.
    bool flush(const QStringList &files, Why *why) override
    {
        const bool first = flushStart == 0;
        if (first)
            flushStart = clock.nsecsElapsed();
        const bool ok = ForwardingFileAccess::flush(files, why);
        if (first)
            flushEnd = clock.nsecsElapsed();
        return ok;
    }
};

// The real desktop host with its progress window, as a person meets it; only what the bench cannot
// do is left out: a box would wait for an answer, and the browser is only noted.
class BenchHost : public DesktopHost
{
public:
    explicit BenchHost(QString drives) : m_drives(std::move(drives)) {}
    bool startProgram(const QString &, const QString &, QString *) override { return true; }
    QString driveFolder() const override { return m_drives; }

protected:
    Answer ask(const QString &text, Buttons, const QString &) override { qFatal("unexpected message: %s", qPrintable(text)); }

private:
    QString m_drives;
};

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void makeClaims(const QString &folder, int count)
{
    const QByteArray body(4096, 'c');
    for (int i = 0; i < count; ++i)
        write(folder + QStringLiteral("/CLAIM%1.TXT").arg(i, 6, 10, QLatin1Char('0')), body);
}

// An ext4 without a journal passes over every inode freed in the last 30 s each time it makes a
// file, so what one side just removed slows the next side down; BENCH_SETTLE=35 waits that out.
void sync()
{
    QProcess::execute(QStringLiteral("sync"), {});
    QThread::sleep(qEnvironmentVariableIntValue("BENCH_SETTLE"));
}

QString claimsFolder()
{
    return qEnvironmentVariable("BENCH_CLAIMS", QDir::currentPath()) + QStringLiteral("/claimin-XXXXXX");
}

Phases sendClaims(int count)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString drives = dir.filePath(QStringLiteral("dosdevices"));
    const QString driveC = dir.filePath(QStringLiteral("drive_c"));
    QDir().mkpath(drives);
    QDir().mkpath(driveC);
    QFile::link(driveC, drives + QStringLiteral("/c:"));
    write(driveC + QStringLiteral("/program files/mozilla firefox/firefox.exe"), "#!/bin/sh\n");
    write(driveC + QStringLiteral("/qrn/setup.fil"),
          "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.TXT\r\n");
    QTemporaryDir elsewhere(claimsFolder());
    if (qEnvironmentVariableIsSet("BENCH_CLAIMS"))
        QFile::link(elsewhere.path(), driveC + QStringLiteral("/claimin"));
    makeClaims(driveC + QStringLiteral("/claimin"), count);

    BenchHost host(drives);
    auto files = std::make_unique<PhaseClock>();
    PhaseClock &clock = *files;
    Runtime runtime(host, std::move(files));
    Session session(runtime, SetupBehaviour::hooks());
    DesktopWindows windows(session);
    if (!session.start())
        qFatal("the program did not start");
    auto *button = windows.main().findChild<QPushButton *>(QStringLiteral("SendClaims"));
    QCoreApplication::processEvents();   // the window is drawn before anyone can click it
    sync();
    const auto [user, system] = processorTime(RUSAGE_SELF);
    clock.clock.start();
    button->click();
    const qint64 end = clock.clock.nsecsElapsed();
    const auto [userAfter, systemAfter] = processorTime(RUSAGE_SELF);
    if (!QDir(driveC + QStringLiteral("/claimin")).isEmpty()
        || QDir(driveC + QStringLiteral("/qrn/claims")).entryList(QDir::Files).size() != count)
        qFatal("Send Claims did not finish its work");
    return {clock.flushStart / 1e9, (clock.flushEnd - clock.flushStart) / 1e9, (end - clock.flushEnd) / 1e9, userAfter - user,
            systemAfter - system};
}

double shell(const QString &folder, const QString &command)
{
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cd '%1' && %2").arg(folder, command)}) != 0)
        qFatal("coreutils failed: %s", qPrintable(command));
    return timer.nsecsElapsed() / 1e9;
}

Phases coreutils(int count)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX")), elsewhere(claimsFolder());
    if (qEnvironmentVariableIsSet("BENCH_CLAIMS"))
        QFile::link(elsewhere.path(), dir.filePath(QStringLiteral("claimin")));
    makeClaims(dir.filePath(QStringLiteral("claimin")), count);
    QDir().mkpath(dir.filePath(QStringLiteral("claims")));
    QDir().mkpath(dir.filePath(QStringLiteral("claimsbu")));
    sync();
    // Folders rather than globs, which 100,000 names would overflow.
    Phases p;
    const auto [user, system] = processorTime(RUSAGE_CHILDREN);
    p.copies = shell(dir.path(), QStringLiteral("cp -pR claimin/. claimsbu/ && cp -R claimin/. claims/"));
    p.flush = shell(dir.path(), QStringLiteral("sync"));
    const QString claims = qEnvironmentVariableIsSet("BENCH_CLAIMS") ? elsewhere.path() : QStringLiteral("claimin");
    p.removals = shell(dir.path(), QStringLiteral("rm -r '%1'").arg(claims));
    const auto [userAfter, systemAfter] = processorTime(RUSAGE_CHILDREN);
    p.user = userAfter - user;
    p.system = systemAfter - system;
    return p;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    QList<int> counts;
    for (int i = 2; i < argc; ++i)
        counts << QByteArray(argv[i]).toInt();
    if (runs < 1)
        runs = 1;
    if (counts.isEmpty())
        counts = {1000, 10000};

    std::printf("Medians of %d alternated runs, seconds; per claim, and the processor's time a claim in user space and in\n"
                "the kernel, in microseconds.\n", runs);
    std::printf("%7s %-9s %8s %8s %8s %8s %9s %6s %6s\n", "claims", "", "copies", "flush", "removals", "total", "per claim",
                "user", "system");
    for (const int count : counts) {
        QList<double> ours[6], theirs[6], ratios;
        for (int run = 0; run < runs; ++run) {
            // Which side goes first alternates, so that neither always meets a busier disk.
            Phases a, b;
            if (qEnvironmentVariableIsSet("BENCH_ALONE")) {   // QRNWeb's side alone, for a profiler
                a = sendClaims(count);
                b = a;
            } else if (run % 2) {
                b = coreutils(count);
                a = sendClaims(count);
            } else {
                a = sendClaims(count);
                b = coreutils(count);
            }
            for (auto [list, p] : {std::pair{ours, a}, std::pair{theirs, b}}) {
                list[0] << p.copies;
                list[1] << p.flush;
                list[2] << p.removals;
                list[3] << p.total();
                list[4] << p.user;
                list[5] << p.system;
            }
            ratios << a.total() / b.total();
        }
        for (auto [name, list] : {std::pair{"QRNWeb", ours}, std::pair{"coreutils", theirs}}) {
            std::printf("%7d %-9s %8.3f %8.3f %8.3f %8.3f %9.1f %6.1f %6.1f\n", count, name, median(list[0]), median(list[1]),
                        median(list[2]), median(list[3]), median(list[3]) * 1e6 / count, median(list[4]) * 1e6 / count,
                        median(list[5]) * 1e6 / count);
        }
        std::printf("%7d %-9s %8s %8s %8s %7.2fx  (runs:", count, "ratio", "", "", "", median(ratios));
        for (const double ratio : std::as_const(ratios))
            std::printf(" %.2f", ratio);
        std::printf(")\n");
        std::fflush(stdout);
    }
    return 0;
}
