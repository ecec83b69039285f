#!/usr/bin/env bash
# Builds qrnweb.exe and every test program for Windows against the Windows Qt of build-qt.sh (kept
# between runs), puts beside qrnweb.exe what a bare Windows machine lacks, and runs the whole suite
# under Wine, in a Wine prefix of the build's own whose drive C: belongs to the tests.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/packages.sh
ensure_packages wine wine64 fonts-dejavu-core cmake ninja-build g++-mingw-w64-x86-64-posix

qt=$(bash tools/windows/build-qt.sh | tail -n 1)
build=build-windows
# Qt's own toolchain file finds the Windows Qt and loads ours, of this tree, for the compilers.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/tools/windows/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine >/dev/null
cmake --build "$build" -j"$(nproc)"
cmake --build "$build" --target deploy

# The suite's own Wine prefix; made once per build folder.
export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/drive_c/qrnweb-scratch" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # As on Windows, a name that begins with a dot is no hidden file.
    wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
    wineserver -w
    echo PRACTICE >"$WINEPREFIX/drive_c/.windows-label"
    # What the prefix holds now stays (drive C's label among it); the rig empties drive C: of everything else before each test.
    (cd "$WINEPREFIX/drive_c" && ls -A) >"$WINEPREFIX/drive_c/qrnweb-scratch"
    # The drives the test rig expects besides C: (tests/RigWindows.cpp): D: a folder of its
    # own, Q: the program's base folder seen through another drive, A: a drive that cannot be read, listed before C:.
    mkdir -p "$WINEPREFIX/d_drive"
    ln -sfn ../d_drive "$WINEPREFIX/dosdevices/d:"
    ln -sfn ../drive_c/qrn "$WINEPREFIX/dosdevices/q:"
    ln -sfn ../gone "$WINEPREFIX/dosdevices/a:"
fi
ctest --test-dir "$build" --output-on-failure
# Two instances sending together under Wine (a round of 1500 claims takes some 20 s there).
(
    cd "$build/bench"
    export WINEPATH="Z:$qt/bin" WINEQT_QPA_PLATFORM=offscreen WINEQT_ASSUME_STDERR_HAS_CONSOLE=1
    wine contention.exe 4 1500 2> >(grep -v 'FS volume label and serial are not available' >&2)
)
