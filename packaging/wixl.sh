#!/bin/sh
# sh wixl.sh WIXL OUTPUT.msi SOURCE.wxs PROGRAM.exe ICON.ico LICENSE VERSION PRODUCT-CODE PACKAGE-CODE
#   SETTINGS-KEY
# wixl orders its string pool by hashes that follow the memory addresses and the folder it runs in: the
# same input makes a different package under address-space randomization or in another folder. So it
# runs with randomization off, an empty environment, in one fixed folder (one build at a time), on
# copies that keep their file times.
set -eu
folder=/tmp/kelvra-launcher-wixl
exec 9>"$folder.lock"
flock 9
rm -rf "$folder" && mkdir "$folder"
cp -p "$3" "$folder/package.wxs" && cp -p "$4" "$folder/launcher.exe" && cp -p "$5" "$folder/launcher.ico" &&
  cp -p "$6" "$folder/LICENSE"
(cd "$folder" && setarch -R env -i PATH=/usr/bin:/bin "$1" -a x86 -D Version="$7" -D Program=launcher.exe \
  -D Icon=launcher.ico -D License=LICENSE -D ProductCode="$8" -D PackageCode="$9" -D SettingsKey="${10}" \
  -o package.msi package.wxs)
cp "$folder/package.msi" "$2" && rm -rf "$folder"
