#!/bin/bash
# bash tests/signed-release.sh: a throwaway certificate signs a release (build/signed); each
# package's program and the .msi verify against it, SHA256SUMS holds the signed files, the signed
# program passes the end-to-end tests (i686 where it can run). Its password, with blanks and a ';',
# is in no file of the build and on no command line of osslsigncode; an empty one signs too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd) work="$root/build/signed" secret=$(openssl rand -hex 8)
rm -rf "$work" && mkdir -p "$work/bin" && cd "$work"
export KELVRA_SIGN_PASSWORD="throw away; $secret"
# osslsigncode as the build runs it, its arguments written down
printf '#!/bin/sh\necho "$*" >>"%s/osslsigncode.log"\nexec %s "$@"\n' "$work" \
  "$(command -v osslsigncode)" >bin/osslsigncode
chmod +x bin/osslsigncode && export PATH="$work/bin:$PATH"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj '/CN=Kelvra test signer' -addext extendedKeyUsage=codeSigning \
  -addext keyUsage=digitalSignature 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout env:KELVRA_SIGN_PASSWORD
source "$root/scripts/wine-session.sh" && trap end_wine_session EXIT &&
  start_wine_session "$work/wineprefix" && run=(x86_64) && can_run_32bit && run+=(i686)
for width in i686 x86_64; do # both packages; tests built only for the widths that run here
  testing=OFF && [[ " ${run[*]} " = *" $width "* ]] && testing=ON
  configure_tree "$width" "$width" -DBUILD_TESTING=$testing -DKELVRA_RELEASE_DIR="$work/release" \
    -DKELVRA_SIGN_PFX="$work/cert.pfx"
  cmake --build "$width" -j2 >/dev/null &&
    cmake --build "$width" --target release | grep -v '^\[' || true
done
openssl pkcs12 -export -inkey key.pem -in cert.pem -out empty.pfx -passout pass: &&
  cp x86_64/bin/launcher.exe empty.exe && KELVRA_SIGN_PASSWORD='' cmake -DFILE="$work/empty.exe" \
  -DPFX="$work/empty.pfx" -DSOURCE="$root" -P "$root/packaging/sign.cmake"
cd release && sha256sum -c SHA256SUMS && dpkg-deb -x *.deb deb
for zip in *.zip; do unzip -qqd "${zip%.zip}" "$zip" launcher.exe; done
for signed in */launcher.exe deb/usr/lib/kelvra-launcher/launcher.exe *.msi ../empty.exe; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify.log" 2>&1 &&
    echo "ok   signature of $signed" ||
    { cat "$work/verify.log"; echo "FAIL signature of $signed"; exit 1; }
done
for width in "${run[@]}"; do
  kind=linux-wine64 && [ "$width" = i686 ] && kind=win32
  cmp "$work/$width/bin/launcher.exe" kelvra-*-$kind/launcher.exe
  echo "end-to-end tests of the signed $width program" &&
    ctest --test-dir "$work/$width" -L end-to-end --output-on-failure
done
signatures=$(grep -c '^sign ' "$work/osslsigncode.log") && [ "$signatures" = 4 ] ||
  { echo "FAIL $signatures signings, not 4"; exit 1; }
found=$(grep -rlF "$secret" "$work") &&
  { echo "FAIL the password in the build's files:"$'\n'"$found"; exit 1; }
echo "ok   the password in none of the build's $(find "$work" -type f | wc -l) files, nor on" \
  "osslsigncode's $signatures command lines"
