// Times Send Claims on many small claim files against the same copies, sync and deletions done by
// coreutils (cp into two folders, sync, rm). Run: build/tests/bench_sendclaims [counts...]
#include "Rig.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

void makeClaims(const QString &folder, int count)
{
    QDir().mkpath(folder);
    const QByteArray body(4096, 'c');
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/CLAIM%1.TXT").arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write claims");
        file.write(body);
    }
}

double sendClaims(int count)
{
    Rig rig;
    rig.installBrowser();
    rig.write(QStringLiteral("qrn/setup.fil"), "site-id:ab12\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.TXT\r\n");
    makeClaims(rig.onC(QStringLiteral("claimin")), count);
    if (!rig.start())
        qFatal("no start");
    QProcess::execute(QStringLiteral("sync"), {});
    QElapsedTimer timer;
    timer.start();
    rig.click("SendClaims");
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!rig.files(QStringLiteral("claimin")).isEmpty() || rig.files(QStringLiteral("qrn/claims")).size() != count)
        qFatal("Send Claims did not finish its work");
    return seconds;
}

double coreutils(int count)
{
    QTemporaryDir dir;
    makeClaims(dir.filePath(QStringLiteral("claimin")), count);
    QDir().mkpath(dir.filePath(QStringLiteral("claims")));
    QDir().mkpath(dir.filePath(QStringLiteral("claimsbu")));
    QProcess::execute(QStringLiteral("sync"), {});
    QElapsedTimer timer;
    timer.start();
    const int status = QProcess::execute(
        QStringLiteral("sh"), {QStringLiteral("-c"),
                               QStringLiteral("cd '%1' && cp claimin/* claimsbu/ && cp claimin/* claims/ && sync && rm claimin/*")
                                   .arg(dir.path())});
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (status != 0)
        qFatal("coreutils failed");
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QByteArray(argv[i]).toInt();
    if (counts.isEmpty())
        counts = {1000, 5000, 10000};

    // Each figure is the median of several runs, the two sides taking turns, since the sync that
    // both end with makes single runs vary a lot.
    constexpr int runs = 5;
    std::printf("%8s %12s %12s %8s %14s\n", "files", "QRNWeb s", "coreutils s", "ratio", "QRNWeb us/file");
    for (int count : counts) {
        QList<double> ours, theirs;
        for (int run = 0; run < runs; ++run) {
            ours << sendClaims(count);
            theirs << coreutils(count);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        const double a = ours.at(runs / 2), b = theirs.at(runs / 2);
        std::printf("%8d %12.3f %12.3f %8.2f %14.1f\n", count, a, b, a / b, a * 1e6 / count);
        std::fflush(stdout);
    }
    return 0;
}
