#!/usr/bin/env bash
# Builds qrnweb-<version>-x64.msi from the Windows build (tools/windows/test.sh makes it): per
# machine into Program Files\QRNWeb, with a Start menu entry and an entry in the installed programs.
# Usage: make-msi.sh [build folder] [version]   (defaults: build-windows, the project's version)
# The upgrade code never changes; the product code follows the version, so that a later version
# replaces an earlier one in place. c:\qrn is the practice's and no part of the package.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/packages.sh
ensure_packages wixl python3

build=${1:-build-windows}
version=${2:-$(sed -n 's/^project(QRNWeb VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)}
[ -f "$build/qrnweb.exe" ] || { echo "no $build/qrnweb.exe: build for Windows first (tools/windows/test.sh)" >&2; exit 1; }
out=$build/msi
mkdir -p "$out"

# Wixl's own file lister writes broken folder entries; the list is written here, one component a
# file, each with an id and a GUID that stay the same from one version to the next.
python3 - "$build" "$version" "$out" <<'EOF'
import os, sys, uuid
build, version, out = sys.argv[1:]
parts = (version.split('.') + ['0', '0'])[:3]
version = '.'.join(parts)
space = uuid.UUID('5b0a3c52-6f1d-4c9e-9d43-2f7e1a0c8b61')
upgrade = '7D1F6A2E-3B4C-4E8F-9A51-0C2B8D7E6F43'
product = str(uuid.uuid5(space, 'product ' + version)).upper()

# The icon of the Start menu entry and of the installed programs: the one qrnweb.exe carries.
with open(os.path.join(out, 'qrnweb.ico'), 'wb') as ico:
    ico.write(open('packaging/qrnweb.ico', 'rb').read())

files = {'': [], 'platforms': [], 'styles': []}
for folder in files:
    here = os.path.join(build, folder)
    for name in sorted(os.listdir(here)):
        if name == 'qrnweb.exe' or name.lower().endswith('.dll'):
            files[folder].append(name)

def component(folder, name):
    key = (folder + '/' + name).lower()
    ident = 'f' + uuid.uuid5(space, 'id ' + key).hex[:16]
    guid = str(uuid.uuid5(space, 'component ' + key)).upper()
    source = os.path.relpath(os.path.join(build, folder, name), out)   # wixl takes no absolute path
    return ident, ('<Component Id="%s" Guid="%s" Win64="yes"><File Id="%s" Name="%s" Source="%s" KeyPath="yes"/></Component>'
                   % (ident, guid, ident, name, source))

refs, lines = [], []
for folder in ('', 'platforms', 'styles'):
    if folder:
        lines.append('<Directory Id="d%s" Name="%s">' % (folder, folder))
    for name in files[folder]:
        ident, text = component(folder, name)
        refs.append(ident)
        lines.append(text)
    if folder:
        lines.append('</Directory>')

wxs = '''<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="%(product)s" Name="QRNWeb" Language="1033" Version="%(version)s" Manufacturer="QRN" UpgradeCode="%(upgrade)s">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
             Description="QRNWeb %(version)s" Manufacturer="QRN"/>
    <Media Id="1" Cabinet="qrnweb.cab" EmbedCab="yes"/>
    <MajorUpgrade DowngradeErrorMessage="A newer version of QRNWeb is already installed."/>
    <Icon Id="qrnweb.ico" SourceFile="%(icon)s"/>
    <Property Id="ARPPRODUCTICON" Value="qrnweb.ico"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFiles64Folder">
        <Directory Id="INSTALLDIR" Name="QRNWeb">
          %(files)s
        </Directory>
      </Directory>
      <Directory Id="ProgramMenuFolder">
        <Component Id="startMenu" Guid="%(menu)s" Win64="yes">
          <Shortcut Id="startMenuEntry" Name="QRNWeb" Description="Send claims to QRN and fetch its reports"
                    Target="[INSTALLDIR]qrnweb.exe" WorkingDirectory="INSTALLDIR" Icon="qrnweb.ico"/>
          <RegistryValue Root="HKLM" Key="Software\\QRN\\QRNWeb" Name="StartMenuEntry" Type="integer" Value="1" KeyPath="yes"/>
        </Component>
      </Directory>
    </Directory>
    <Feature Id="QRNWeb" Title="QRNWeb" Level="1">
      %(refs)s
      <ComponentRef Id="startMenu"/>
    </Feature>
  </Product>
</Wix>
''' % {'product': product, 'version': version, 'upgrade': upgrade, 'icon': 'qrnweb.ico',
       'files': '\n          '.join(lines), 'menu': str(uuid.uuid5(space, 'component start menu')).upper(),
       'refs': '\n      '.join('<ComponentRef Id="%s"/>' % r for r in refs)}
open(os.path.join(out, 'qrnweb.wxs'), 'w').write(wxs)
open(os.path.join(out, 'version'), 'w').write(version)
EOF
version=$(cat "$out/version")
(cd "$out" && wixl -a x64 -o "qrnweb-$version-x64.msi" qrnweb.wxs)
echo "$out/qrnweb-$version-x64.msi"
