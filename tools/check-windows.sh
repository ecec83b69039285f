#!/usr/bin/env bash
# Parses and type-checks every source of the Windows build with Debian's MinGW-w64 cross compiler
# against the installed Qt headers. It proves that the Windows-only code compiles as C++ for
# Windows; it builds nothing, links nothing and runs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
ensure_packages g++-mingw-w64-x86-64-posix qt6-base-dev

qt=$(dirname "$(find /usr/include -path '*/qt6/QtCore/qglobal.h' -print -quit)")
qt=$(dirname "$qt")
cxx=x86_64-w64-mingw32-g++-posix
# Every source but the POSIX-only ones, which the Windows build leaves out.
mapfile -t sources < <(find src -name '*.cpp' ! -name 'Posix*' | sort)
failed=0
for source in "${sources[@]}"; do
    if ! "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -DUNICODE -D_UNICODE -Isrc \
        -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets" "$source"; then
        echo "check-windows: $source does not compile for Windows" >&2
        failed=1
    fi
done
[ "$failed" -eq 0 ] && echo "check-windows: ${#sources[@]} sources compile for Windows"
exit "$failed"
