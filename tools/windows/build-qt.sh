#!/usr/bin/env bash
# Builds the Windows Qt that qrnweb.exe and its tests link against: Debian's own qtbase source, of
# exactly the installed host Qt's version, cross compiled with MinGW-w64 into a prefix that is kept
# between runs. A stamp in the prefix records what it was built from; when it matches, nothing is
# done. Prints the prefix on its last line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../packages.sh"
ensure_packages qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev xz-utils

prefix=${QRNWEB_WINDOWS_QT:-/var/cache/qrnweb/qt6-mingw-w64}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
mingw=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)

# Only what the program and its tests use: Core, Gui, Widgets, Test, the windows and offscreen
# platforms and the Windows style. Qt 6.4's switches that matter: -DFEATURE_opengl=OFF still leaves
# dynamic GL on and the windows plugin then fails to compile, so GL goes through INPUT_opengl; with
# Direct2D off, qwindows.dll links only without DirectWrite 3; the dfsg source has no wintab.
flags=(
    -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DINPUT_opengl=no -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF
    -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_sql_sqlite=OFF
)
stamp="host Qt $version; MinGW-w64 g++ $mingw; $(cat "$0" "$here/mingw-w64.cmake" | sha256sum | cut -c1-16)"
if [ -f "$prefix/qrnweb-stamp" ] && [ "$(cat "$prefix/qrnweb-stamp")" = "$stamp" ]; then
    echo "$prefix"
    exit 0
fi

work=${QRNWEB_WINDOWS_QT_WORK:-/var/tmp/qrnweb-qt-build}
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

# apt-get source needs the source entries beside the binary ones; add them once.
if ! apt-get source --print-uris -qq "qt6-base=$version" >/dev/null 2>&1; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    for list in /etc/apt/sources.list.d/*.sources; do
        $sudo sed -i 's/^Types: deb$/Types: deb deb-src/' "$list"
    done
    $sudo apt-get update -q
fi
apt-get source -q "qt6-base=$version" >/dev/null
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' -print -quit)

cmake -S "$src" -B "$work/build" "${flags[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" >"$work/configure.log"
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log"
cmake --install "$work/build" >"$work/install.log"
# The compiler's runtime libraries go beside Qt's, so that one folder holds everything a Windows
# program built against this Qt loads.
for dll in libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/"
done
echo "$stamp" >"$prefix/qrnweb-stamp"
rm -rf "$work"
echo "$prefix"
