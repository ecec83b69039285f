#!/usr/bin/env bash
# Sets up a Debian machine for QRNWeb, builds it, and then starts it ("run") or tests it ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
packages=(cmake make g++ qt6-base-dev libgl-dev fonts-dejavu-core)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

case "$mode" in
run)
    exec build/qrnweb
    ;;
test)
    ctest --test-dir build --output-on-failure
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
