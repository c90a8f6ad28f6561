#!/usr/bin/env bash
# The desktop entry and the AppStream metadata as the desktop's own tools
# read them. Usage: metadata.sh DESKTOP_FILE METAINFO_FILE
# Exits 77 (skipped) when a tool is missing: scripts/setup.sh installs both.
set -euo pipefail
desktop=$1
metainfo=$2
missing=()
command -v desktop-file-validate >/dev/null || missing+=(desktop-file-utils)
command -v appstreamcli >/dev/null || missing+=(appstream)
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: ${missing[*]} not installed (scripts/setup.sh installs it)"
  exit 77
fi

# desktop-file-validate reports hints and warnings with a zero status.
out=$(desktop-file-validate "$desktop" 2>&1) || { echo "$out"; exit 1; }
if [ -n "$out" ]; then
  echo "$out"
  exit 1
fi
grep -qx 'Categories=AudioVideo;Audio;Midi;' "$desktop"
grep -qx 'X-NSM-Capable=true' "$desktop"
for word in synthesizer 'patch editor' SysEx JV-1080 XP; do
  grep -q "^Keywords=.*\b$word;" "$desktop" || { echo "keyword '$word' missing"; exit 1; }
done

# Pedantic findings fail too: the file is small enough to keep clean.
appstreamcli validate --no-net --pedantic "$metainfo"
for binary in tessiva tessiva-cli; do
  grep -q "<binary>$binary</binary>" "$metainfo" || { echo "provides $binary missing"; exit 1; }
done
echo "desktop entry and metainfo valid"
