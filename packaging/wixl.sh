#!/bin/sh
# sh wixl.sh WIXL OUTPUT.msi SOURCE.wxs PROGRAM.exe ICON.ico LICENSE VERSION PRODUCT-CODE PACKAGE-CODE
#   SETTINGS-KEY
# wixl orders its string pool by hashes that follow the memory addresses and the folder it runs in: the
# same input makes a different package under address-space randomization or in another folder. So it
# (and msibuild after it) runs with randomization off, an empty environment, in one fixed folder (one
# build at a time), on copies that keep their file times.
set -eu
folder=/tmp/kelvra-launcher-wixl
exec 9>"$folder.lock"
flock 9
rm -rf "$folder" && mkdir "$folder"
cp -p "$3" "$folder/package.wxs" && cp -p "$4" "$folder/launcher.exe" && cp -p "$5" "$folder/launcher.ico" &&
  cp -p "$6" "$folder/LICENSE"
wixl=$1 out=$(realpath -m "$2") version=$7
cd "$folder"
run() { setarch -R env -i PATH=/usr/bin:/bin "$@"; }
run "$wixl" -a x86 -D Version="$version" -D Program=launcher.exe -D Icon=launcher.ico -D License=LICENSE \
  -D ProductCode="$8" -D PackageCode="$9" -D SettingsKey="${10}" -o package.msi package.wxs
# What wixl leaves out of its tables (msitools 0.101, Debian 12; 0.106, Debian 13, writes the inclusive
# maximum itself, and the tables come out the same from both, but for row order and one custom-action
# type flag):
# - the program's File rows get the version and languages of its version record (VS_FIXEDFILEINFO and
#   every Translation), as Windows Installer's file versioning rules read them; a versioned file has
#   no hash (MsiFileHash). LICENSE.txt has no version record, and stays unversioned;
# - the upgrade row whose maximum is this version includes it (UpgradeVersion/@IncludeMaximum);
# - UserPrograms, the profile folder above the program's, goes on uninstall when empty (ICE64):
#   wixl's RemoveFolder takes no Directory.
record=$(python3 - launcher.exe <<'PYTHON'
import re, struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.index(struct.pack('<I', 0xFEEF04BD))
high, low = struct.unpack('<II', data[at + 8:at + 16])
languages = set()
for found in re.finditer('Translation\0'.encode('utf-16-le'), data):
    start = found.end() + (-found.end() % 4)
    size = struct.unpack('<H', data[found.start() - 4:found.start() - 2])[0]
    languages.update(struct.unpack(f'<{size // 2}H', data[start:start + size])[::2])
print(f'{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}', ','.join(map(str, sorted(languages))))
PYTHON
)
set -- -q "UPDATE File SET Version = '${record% *}', Language = '${record#* }' WHERE FileName = 'launcher.exe'"
for file in $(msiinfo export package.msi File | awk -F '\t' '$3 == "launcher.exe" { print $1 }'); do
  set -- "$@" -q "DELETE FROM MsiFileHash WHERE File_ = '$file'"
done
msiinfo export package.msi Upgrade |
  awk -F '\t' -v OFS='\t' -v v="$version" 'NR > 3 && $3 == v && int($5 / 512) % 2 == 0 { $5 += 512 } 1' >Upgrade.idt
run msibuild package.msi "$@" -i Upgrade.idt -q "INSERT INTO RemoveFile (FileKey, Component_, DirProperty, InstallMode)
  VALUES ('RemoveUserPrograms', 'UserProgram', 'UserPrograms', 2)"
cd / && cp "$folder/package.msi" "$out" && rm -rf "$folder"
