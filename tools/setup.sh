#!/usr/bin/env bash
# Sets up a Debian machine for QRNWeb, builds it, and then starts it ("run") or tests it ("test":
# the whole suite, once as built, once under AddressSanitizer and UndefinedBehaviorSanitizer, a
# short fuzzing run built with clang, and the suite built for Windows and run under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh

mode=${1:-run}
ensure_packages cmake make g++ qt6-base-dev libgl-dev fonts-dejavu-core

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

case "$mode" in
run)
    # The first start finds the desktop's browser through xdg-open.
    ensure_packages xdg-utils
    exec build/qrnweb
    ;;
test)
    ctest --test-dir build --output-on-failure
    # Two instances sending together, in processes of their own, over real files.
    (cd build && bench/contention 20 1500)
    # Power cuts after each system call of a real Send Claims, replayed onto a disk that keeps only
    # what was flushed; and the same check must fail when the first flush is made to do nothing.
    ensure_packages strace python3
    (cd build && python3 ../tools/powercut.py bench/contention && python3 ../tools/powercut.py bench/contention --plant >/dev/null)
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQRNWEB_SANITIZE=ON
    cmake --build build-sanitize -j"$(nproc)"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure
    # A short fuzzing run of each target, so that neither the clang build nor the targets break unseen.
    bash tools/fuzz.sh 20
    bash tools/windows/test.sh
    bash tools/windows/check-installed.sh
    bash tools/check-package.sh
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
