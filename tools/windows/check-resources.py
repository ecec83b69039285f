# Reads what Explorer shows of a Windows program from its resources: the icon group's sizes, the
# version strings and the manifest. Prints what it found, or what is wrong and exits 1.
# Usage: check-resources.py qrnweb.exe VERSION
import struct
import sys

import pefile

exe, version = sys.argv[1:]
pe = pefile.PE(exe)
found = {}
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []:
    for entry in kind.directory.entries:
        for language in entry.directory.entries:
            found.setdefault(kind.id, []).append(pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size))
problems = []
groups = found.get(pefile.RESOURCE_TYPE['RT_GROUP_ICON'], [])
sizes = set()
if groups:
    count = struct.unpack_from('<H', groups[0], 4)[0]
    sizes = {groups[0][6 + 14 * i] or 256 for i in range(count)}
if not {16, 32, 48, 256} <= sizes:
    problems.append('icon sizes %s' % sorted(sizes))
strings = {}
for info in getattr(pe, 'FileInfo', []):
    for block in info:
        for table in getattr(block, 'StringTable', []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
expected = {'ProductVersion': version, 'FileVersion': version, 'ProductName': 'QRNWeb', 'CompanyName': 'QRN',
            'FileDescription': 'QRN Electronic Claim Submission and Report Retrieval'}
for key, value in expected.items():
    if strings.get(key) != value:
        problems.append('%s is %r' % (key, strings.get(key)))
if not strings.get('LegalCopyright', '').startswith('Copyright '):
    problems.append('no copyright line')
manifests = found.get(pefile.RESOURCE_TYPE['RT_MANIFEST'], [])
manifest = manifests[0].decode('utf-8', 'replace') if manifests else ''
for needed in ('level="asInvoker"', '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}', '>true</longPathAware>', 'PerMonitorV2'):
    if needed not in manifest:
        problems.append('manifest without ' + needed)
print('; '.join(problems) if problems else 'icon %s, version %s, %s, manifest asInvoker, Windows 10, longPathAware'
      % (sorted(sizes), version, strings['LegalCopyright']))
sys.exit(1 if problems else 0)
