#!/bin/sh
# sh deb.sh OUTPUT.deb STAGE PROGRAM.exe VERSION EPOCH SOURCE MAINTAINER
# The Debian package of MAINTAINER ("Name <address>"), made with Debian's own tools from the 64-bit PROGRAM and
# the files in SOURCE's packaging/deb: the program in /usr/lib/kelvra-launcher, the kelvra-launcher command, the
# desktop entry for kelvra:// links with the program's icon in hicolor, the manual page, copyright and
# changelog. Every file has a fixed mode, root as owner and the time EPOCH, so the same inputs make the same
# bytes. STAGE must not exist.
set -eu
out=$1 stage=$2 program=$3 version=$4 epoch=$5 deb=$6/packaging/deb license=$6/LICENSE icon=$6/resources/icon/launcher.ico
maintainer=$(printf '%s' "$7" | sed 's/[\\|&]/\\&/g') # for the right side of sed's s|||
latest=$(sed -n '1s/^kelvra-launcher (\([^)]*\)).*/\1/p' "$deb/changelog")
[ "$latest" = "$version" ] || { echo "$deb/changelog: its latest entry is for $latest: add one for $version" >&2; exit 1; }
umask 022
mkdir "$stage" && cd "$stage"
doc=usr/share/doc/kelvra-launcher
mkdir -p DEBIAN usr/bin usr/lib/kelvra-launcher usr/share/applications usr/share/man/man1 "$doc"
cp "$program" usr/lib/kelvra-launcher/launcher.exe
cp "$deb/kelvra-launcher.sh" usr/bin/kelvra-launcher
cp "$deb/kelvra-launcher.desktop" usr/share/applications/
sed "s/@VERSION@/$version/" "$deb/kelvra-launcher.1" | gzip -n -9 >usr/share/man/man1/kelvra-launcher.1.gz
sed "s|@MAINTAINER@|$maintainer|" "$deb/changelog" | gzip -n -9 >"$doc/changelog.gz"
{
  echo 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
  echo 'Upstream-Name: URL Kelvra launcher' && echo
  echo 'Files: *' && sed -n 's/^Copyright (c) /Copyright: /p' "$license" && echo 'License: Expat'
  sed -n '/^Permission/,$p' "$license" | sed 's/^$/./; s/^/ /'
} >"$doc/copyright"

# The icon's 16, 32 and 48 px frames, as PNG without the times ImageMagick would write into them.
identify -format '%p %w %h\n' "$icon" | while read -r frame width height; do
  case $width in 16 | 32 | 48) [ "$width" = "$height" ] || continue ;; *) continue ;; esac
  mkdir -p "usr/share/icons/hicolor/${width}x$width/apps"
  convert "$icon[$frame]" -strip -define png:exclude-chunks=date,time \
    "usr/share/icons/hicolor/${width}x$width/apps/kelvra-launcher.png"
done
for size in 16 32 48; do
  [ -f "usr/share/icons/hicolor/${size}x$size/apps/kelvra-launcher.png" ] || { echo "$icon has no $size px frame" >&2; exit 1; }
done

# Installed-Size counts each file in whole KiB, as dpkg-gencontrol does, whatever the file system.
size=$(find usr -type f -exec stat -c %s {} + | awk '{ k += int(($1 + 1023) / 1024) } END { print k }')
sed "s/@VERSION@/$version/; s/@SIZE@/$size/; s|@MAINTAINER@|$maintainer|" "$deb/control" >DEBIAN/control
find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums
find . -type d -exec chmod 0755 {} + && find . -type f -exec chmod 0644 {} + && chmod 0755 usr/bin/kelvra-launcher
find . -exec touch -h -d "@$epoch" {} +
# One compressor thread: xz's output would otherwise follow the number of cores.
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --threads-max=1 --build . "$out" >/dev/null
