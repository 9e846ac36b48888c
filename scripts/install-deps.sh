#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Torvana need (only the missing ones).
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev
      libsqlite3-dev libsqlitecpp-dev sqlite3
      libgtest-dev libgmock-dev googletest libbenchmark-dev
      poppler-utils unzip fonts-dejavu-core fonts-urw-base35 fonts-comic-neue clang-format qt6-translations-l10n
      desktop-file-utils xvfb xauth)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
