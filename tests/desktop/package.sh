#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it holds.
# Usage: package.sh BUILD_FOLDER
# lintian runs when it is installed; its findings are printed, and only
# errors fail the test.
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps fakeroot; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool not installed"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
debs=("$out"/tessiva_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "no package made"; cat "$out/cpack.log"; exit 1; }
echo "package: $(basename "$deb")"

info=$(dpkg-deb --info "$deb")
echo "$info" | sed -n '/Package:/,$p'
field() { echo "$info" | sed -n "s/^ $1: //p"; }
[ "$(field Package)" = tessiva ] || { echo "wrong package name"; exit 1; }
depends=$(field Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 librtmidi6 liblo7 qt6-qpa-plugins libjack-jackd2-0; do
  [[ $depends == *"$lib"* ]] || { echo "Depends lacks $lib"; exit 1; }
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expect=(
  /usr/bin/tessiva
  /usr/bin/tessiva-cli
  /usr/share/applications/org.korvale.tessiva.desktop
  /usr/share/metainfo/org.korvale.tessiva.metainfo.xml
  /usr/share/man/man1/tessiva.1.gz
  /usr/share/man/man1/tessiva-cli.1.gz
  /usr/share/icons/hicolor/16x16/apps/org.korvale.tessiva.png
  /usr/share/icons/hicolor/48x48/apps/org.korvale.tessiva.png
  /usr/share/icons/hicolor/256x256/apps/org.korvale.tessiva.png
  /usr/share/tessiva/exp.txt/NoWave.txt
  /usr/share/tessiva/exp.txt/IntA.txt
  /usr/share/tessiva/STRU1-1.BMP
  /usr/share/tessiva/STRU1-10@2x.png
  /usr/share/doc/tessiva/copyright
  /usr/share/doc/tessiva/changelog.Debian.gz
)
for path in "${expect[@]}"; do
  grep -qx "$path" <<<"$contents" || { echo "missing in package: $path"; exit 1; }
done
waves=$(grep -c '^/usr/share/tessiva/exp.txt/.*\.txt$' <<<"$contents")
[ "$waves" -ge 19 ] || { echo "only $waves wave lists"; exit 1; }

if command -v lintian >/dev/null; then
  echo "lintian:"
  lintian --no-tag-display-limit "$deb" | tee "$out/lintian.log" || true
  if grep -q '^E: ' "$out/lintian.log"; then
    echo "lintian reports errors"
    exit 1
  fi
else
  echo "lintian not installed: not run"
fi
echo "package ok"
