#!/usr/bin/env bash
# Installs QRNWeb from its MSI into a fresh Wine prefix as an administrator would (over the
# previous version's package, silently), then uses it as the front desk does: the real windows
# platform on an X display, Send Claims pressed from the keyboard, a recording browser at the first
# place the program looks for one, the setup window opened and closed, Exit. Then it removes the
# package and checks that the practice's folder c:\qrn is still whole. Screenshots of both windows
# go to build-windows/screens. Fails with what it saw.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/packages.sh
ensure_packages wine wine64 wixl python3 python3-pefile xvfb xauth xdotool imagemagick fonts-dejavu-core

build=build-windows
screens=$build/screens
mkdir -p "$screens"
fail() {
    echo "check-installed: $*" >&2
    [ -z "${DISPLAY:-}" ] || import -window root "$screens/failure.png" 2>/dev/null || true
    exit 1
}
[ -f "$build/tests/recorder.exe" ] || fail "no Windows build: run tools/windows/test.sh first"
version=$(sed -n 's/^project(QRNWeb VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The previous version's package stands in as this build under the version before.
previous=${version%.*}.$(( ${version##*.} - 1 ))
old_msi=$(bash tools/windows/make-msi.sh "$build" "$previous" | tail -n 1)
msi=$(bash tools/windows/make-msi.sh "$build" "$version" | tail -n 1)

export WINEPREFIX=$PWD/$build/wine-installed WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The display comes first: Wine's desktop, started with the first Wine program, keeps the display it found.
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
C=$WINEPREFIX/drive_c
installed="$C/Program Files/QRNWeb"
uninstall_entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' \
        | grep -E '^ +(DisplayName|DisplayVersion|Publisher) +REG_SZ' | sed 's/^ *//; s/ *REG_SZ */=/' | grep -A2 '^DisplayName=QRNWeb$' || true
}

wine msiexec /i "$(winepath -w "$old_msi")" /qn || fail "msiexec /i of $old_msi failed ($?)"
wine msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i of $msi failed ($?)"
[ -f "$installed/qrnweb.exe" ] || fail "no qrnweb.exe in Program Files\\QRNWeb"
copies=$(find "$C" -iname qrnweb.exe | wc -l)
[ "$copies" -eq 1 ] || fail "after the upgrade $copies copies of qrnweb.exe: $(find "$C" -iname qrnweb.exe)"
entries=$(uninstall_entries | sort | tr '\n' ' ')
[ "$entries" = "DisplayName=QRNWeb DisplayVersion=$(cat "$build/msi/version") Publisher=QRN " ] \
    || fail "installed programs list QRNWeb as: $entries"
[ "$(find "$C" -iname 'QRNWeb.lnk' | wc -l)" -eq 1 ] || fail "no Start menu entry"
# What Explorer shows of the installed program: its icon, its version (the MSI's), its manifest.
# Debian's Python, which has the PE reader python3-pefile.
resources=$(/usr/bin/python3 tools/windows/check-resources.py "$installed/qrnweb.exe" "$(cat "$build/msi/version")") \
    || fail "qrnweb.exe's resources: $resources"

# The practice: a setup, two claims, and a browser that notes how it was started.
mkdir -p "$C/qrn" "$C/claimin"
printf 'site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.CLM\r\n' >"$C/qrn/setup.fil"
for claim in A B; do printf 'claim %s\r\n' "$claim" >"$C/claimin/$claim.CLM"; done
# As Windows names that folder: under Wine a name spelled in other capitals would be a second folder.
browser="$C/Program Files (x86)/Mozilla Firefox"
mkdir -p "$browser"
cp "$build/tests/recorder.exe" "$browser/firefox.exe"
cp "$installed"/{Qt6Core.dll,libgcc_s_seh-1.dll,libstdc++-6.dll,libwinpthread-1.dll} "$browser/"

wait_for() {   # a condition, what failed; polls for 90 s
    for _ in $(seq 180); do eval "$1" && return 0; sleep 0.5; done
    fail "$2"
}
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_for 'xdotool getmouselocation >/dev/null 2>&1' "no X display"
wine 'C:\Program Files\QRNWeb\qrnweb.exe' >/dev/null 2>&1 &
program=$!
wait_for '[ -n "$(shown "^QRNWeb Version")" ]' "the main window did not appear"
main=$(shown "^QRNWeb Version")
xdotool windowfocus --sync "$main"
sleep 1   # drawn
import -window "$main" "$screens/main-window.png"

# The site id has the focus; Tab goes to Send Claims, Enter presses it.
xdotool key Tab Return
wait_for '[ -f "$browser/firefox.exe.seen" ]' "Send Claims started no browser"
seen=$(cat "$browser/firefox.exe.seen")
[ "$seen" = $'1\nhttps://portal.qrn.example/ecp/ab12' ] || fail "the browser was started with: $seen"
for claim in A B; do
    cmp -s "$C/qrn/claims/$claim.NS2" <(printf 'claim %s\r\n' "$claim") || fail "$claim.NS2 is not in the outbound folder whole"
    cmp -s "$C/qrn/claimsbu/$claim.CLM" <(printf 'claim %s\r\n' "$claim") || fail "$claim.CLM is not in the backup folder whole"
done
[ -z "$(ls -A "$C/claimin")" ] || fail "claims stayed: $(ls "$C/claimin")"

# Five Tabs on to Setup; in the setup window five Tabs from the drive list to its Exit.
xdotool key Tab Tab Tab Tab Tab Return
wait_for '[ -n "$(shown "^QRNWeb Setup")" ]' "the setup window did not appear"
sleep 1
import -window "$(shown "^QRNWeb Setup")" "$screens/setup-window.png"
xdotool key Tab Tab Tab Tab Tab Return
wait_for '[ -z "$(shown "^QRNWeb Setup")" ]' "the setup window's Exit did not close it"
# Back on Setup in the main window: four Tabs to Exit.
xdotool key Tab Tab Tab Tab Return
wait_for '! kill -0 $program 2>/dev/null' "Exit did not end the program"
wineserver -w

before=$(cd "$C/qrn" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
wine msiexec /x "$(winepath -w "$msi")" /qn || fail "msiexec /x failed ($?)"
[ ! -e "$installed/qrnweb.exe" ] || fail "qrnweb.exe is still installed after msiexec /x"
[ -z "$(uninstall_entries)" ] || fail "QRNWeb is still among the installed programs"
after=$(cd "$C/qrn" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
[ "$before" = "$after" ] || fail "removing the package changed c:\\qrn"
echo "check-installed: $(basename "$old_msi") then $(basename "$msi") installed, one copy ($resources); Send Claims from the keyboard sent A and B; removed; c:\\qrn whole ($(echo "$after" | wc -l) files)"
