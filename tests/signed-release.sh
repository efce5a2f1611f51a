#!/bin/bash
# bash tests/signed-release.sh: a throwaway certificate signs a release (build/signed); each zip's program and the .msi verify
# against it, SHA256SUMS holds the signed files, the signed program passes the end-to-end tests (i686 where it can run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd) work="$root/build/signed"
rm -rf "$work" && mkdir -p "$work" && cd "$work" && export KELVRA_SIGN_PASSWORD="throwaway $RANDOM"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj '/CN=Kelvra test signer' \
  -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout env:KELVRA_SIGN_PASSWORD
source "$root/scripts/wine-session.sh" && trap end_wine_session EXIT && start_wine_session "$work/wineprefix" && run=(x86_64) && can_run_32bit && run+=(i686)
for width in i686 x86_64; do # both packages; tests built only for the widths that run here
  cmake --no-warn-unused-cli -S "$root" -B "$width" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$width.cmake" \
    -DBUILD_TESTING="$([[ " ${run[*]} " = *" $width "* ]] && echo ON || echo OFF)" \
    -DKELVRA_RELEASE_DIR="$work/release" -DKELVRA_SIGN_PFX="$work/cert.pfx" >/dev/null
  cmake --build "$width" -j2 >/dev/null && cmake --build "$width" --target release | grep -v '^\[' || true
done
cd release && sha256sum -c SHA256SUMS && unzip -qq kelvra-launcher-\*.zip '*/launcher.exe' >/dev/null
for signed in */launcher.exe *.msi; do osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify.log" 2>&1 &&
  echo "ok   signature of $signed" || { cat "$work/verify.log"; echo "FAIL signature of $signed"; exit 1; }; done
for width in "${run[@]}"; do
  cmp "$work/$width/bin/launcher.exe" kelvra-*-"$([ "$width" = i686 ] && echo win32 || echo linux-wine64)"/launcher.exe
  echo "end-to-end tests of the signed $width program" && ctest --test-dir "$work/$width" -L end-to-end --output-on-failure
done
