#!/usr/bin/env bash
# Installs the Debian packages Kelvane builds and tests with, when they are missing.
set -euo pipefail

PACKAGES=(build-essential cmake qt6-base-dev qt6-base-dev-tools libsqlite3-dev sqlite3
          libbenchmark-dev fonts-liberation poppler-utils libgl1-mesa-dev clang libclang-rt-14-dev
          qt6-translations-l10n pkg-config mdbtools-dev libxlsxwriter-dev qt6-charts-dev libqt6opengl6-dev
          dpkg-dev lintian desktop-file-utils appstream clang-format)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installation des paquets manquants: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
