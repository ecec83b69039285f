// The floor under Send Claims: the system calls it makes for each claim of 4 KB (as strace shows
// them), made by themselves, with nothing else. Compared with coreutils' time for the same claims, it
// tells how much of the way to coreutils the program's own work may take at most.
// Run in the folder to measure: build/bench/syscall_floor [claims]   (default 10000)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int folder(const char *name)
{
    ::mkdir(name, 0700);
    return ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

std::string claim(int i, const char *extension)
{
    char name[32];
    std::snprintf(name, sizeof name, "CLAIM%06d.%s", i, extension);
    return name;
}

} // namespace

int main(int argc, char *argv[])
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    char body[4096];
    std::fill(std::begin(body), std::end(body), 'c');
    const int claims = folder("floor-claimin"), kept = folder("floor-kept"), newest = folder("floor-claimsbu"),
              outbound = folder("floor-claims");
    for (int i = 0; i < count; ++i) {
        const int fd = ::openat(claims, claim(i, "TXT").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, body, sizeof body) != sizeof body)
            return 1;
        ::close(fd);
    }
    ::sync();

    const double start = now();
    struct stat st {};
    for (int i = 0; i < count; ++i) {
        const std::string name = claim(i, "TXT");
        // Open, status, lease, read; the two copies; the status again; close.
        const int fd = ::openat(claims, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ::fstat(fd, &st);
        ::fcntl(fd, F_SETLEASE, F_RDLCK);
        if (::pread(fd, body, sizeof body, 0) != sizeof body)
            return 1;
        for (const auto &[to, target] : {std::pair{kept, name}, std::pair{outbound, claim(i, "NS2")}}) {
            const int copy = ::openat(to, target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0600);
            if (copy < 0 || ::write(copy, body, sizeof body) != sizeof body)
                return 1;
            ::close(copy);
        }
        ::fstat(fd, &st);
        ::close(fd);
    }
    for (int i = 0; i < count; ++i) {   // the newest copy of each name
        const std::string name = claim(i, "TXT");
        ::linkat(kept, name.c_str(), newest, name.c_str(), 0);
    }
    const double copied = now();
    ::syncfs(claims);
    const double flushed = now();
    for (int i = 0; i < count; ++i) {   // the checks before the portal opens
        const std::string name = claim(i, "TXT");
        ::fstatat(claims, name.c_str(), &st, 0);
        ::fstatat(kept, name.c_str(), &st, 0);
    }
    for (int i = 0; i < count; ++i) {   // each removal, its status first
        const std::string name = claim(i, "TXT");
        ::fstatat(claims, name.c_str(), &st, 0);
        ::unlinkat(claims, name.c_str(), 0);
    }
    const double end = now();
    for (int i = 0; i < count; ++i) {   // what it made goes again, untimed
        ::unlinkat(kept, claim(i, "TXT").c_str(), 0);
        ::unlinkat(newest, claim(i, "TXT").c_str(), 0);
        ::unlinkat(outbound, claim(i, "NS2").c_str(), 0);
    }
    for (const char *made : {"floor-claimin", "floor-kept", "floor-claimsbu", "floor-claims"})
        ::rmdir(made);
    std::printf("%d claims: copies %.3f s, flush %.3f s, removals %.3f s, total %.3f s, %.1f us a claim\n", count,
                copied - start, flushed - copied, end - flushed, end - start, (end - start) / count * 1e6);
    return 0;
}
