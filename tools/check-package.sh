#!/usr/bin/env bash
# Builds the Debian package from build/ and checks it as a Debian administrator would: lintian
# with no error or warning, the AppStream metadata and the desktop entry valid.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
ensure_packages lintian appstream desktop-file-utils

cmake --build build --target package
lintian --fail-on error,warning build/qrnweb_1.3_amd64.deb
appstreamcli validate --no-net packaging/example.qrn.qrnweb.metainfo.xml
desktop-file-validate packaging/example.qrn.qrnweb.desktop
echo "check-package: lintian, appstreamcli and desktop-file-validate pass"
