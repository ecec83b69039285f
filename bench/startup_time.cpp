// Times programs from their start to their first window mapped on the X display, with their peak
// memory (VmHWM) by then, taking turns so that neither always meets a busier machine; prints the
// medians and their ratios to the first program named after the program under test.
// Run under an X server, e.g.:
//   xvfb-run -s "-screen 0 1024x768x24 -dpi 96" build/bench/startup_time 7 build/qrnweb build/bench/bare_window
// QRNWeb runs over drives prepared once in a temporary folder, with a setup file and a browser,
// so that its main window is the first it shows.
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Sample
{
    double milliseconds;
    long peakKb;
};

long peakMemoryKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

Sample timeStart(Display *display, const std::string &program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    Sample sample{-1, -1};
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (sample.milliseconds < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && sample.milliseconds < 0) {
                sample.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                sample.peakKb = peakMemoryKb(pid);
            }
        }
        if (sample.milliseconds < 0 && poll(&connection, 1, 20000) <= 0) {
            std::fprintf(stderr, "%s mapped no window\n", program.c_str());
            std::exit(1);
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
    return sample;
}

template<typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void prepareDrives(const fs::path &home)
{
    const fs::path driveC = home / "drive_c";
    fs::create_directories(home / "qrnweb" / "dosdevices");
    fs::create_directories(driveC / "program files" / "mozilla firefox");
    fs::create_directories(driveC / "qrn");
    if (!fs::exists(home / "qrnweb" / "dosdevices" / "c:"))
        fs::create_directory_symlink(driveC, home / "qrnweb" / "dosdevices" / "c:");
    std::ofstream(driveC / "program files" / "mozilla firefox" / "firefox.exe") << "#!/bin/sh\n";
    std::ofstream(driveC / "qrn" / "setup.fil", std::ios::binary)
        << "site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SD2\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.CLM\r\n";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PAIRS PROGRAM FLOOR...\n", argv[0]);
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::vector<std::string> programs(argv + 2, argv + argc);

    char pattern[] = "/tmp/startup-XXXXXX";
    const fs::path home = mkdtemp(pattern);
    prepareDrives(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    // One start each first, so that all of them meet warm caches.
    for (const std::string &program : programs)
        timeStart(display, program);
    std::vector<std::vector<double>> times(programs.size());
    std::vector<std::vector<long>> peaks(programs.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < programs.size(); ++k) {
            const size_t i = round % 2 ? programs.size() - 1 - k : k;
            const Sample sample = timeStart(display, programs[i]);
            times[i].push_back(sample.milliseconds);
            peaks[i].push_back(sample.peakKb);
        }
    }
    XCloseDisplay(display);
    fs::remove_all(home);

    std::printf("Medians of %d alternated starts: start to first window mapped, peak memory by then.\n", rounds);
    std::printf("%-40s %10s %12s %8s %8s\n", "program", "ms", "VmHWM kB", "time", "memory");
    const double baseTime = median(times[1]);
    const long basePeak = median(peaks[1]);
    for (size_t i = 0; i < programs.size(); ++i) {
        const double t = median(times[i]);
        const long m = median(peaks[i]);
        std::printf("%-40s %10.1f %12ld %7.2fx %7.2fx\n", programs[i].c_str(), t, m, t / baseTime, double(m) / basePeak);
    }
    return 0;
}
