#!/usr/bin/env bash
# Builds Kelvane for 64-bit Windows on Debian, from a clean clone, and tries it under Wine:
#   1. the Debian packages it needs (MinGW-w64, Wine, NSIS, Xvfb...);
#   2. Qt 6.4.2 (qtbase, qtsvg, qtcharts) and the C libraries (SQLite, libxlsxwriter, libmdb) for Windows, from the
#      upstream archives of ../shared/sources (hashes checked), each into its cache folder (scripts/windows/caches.sh),
#      built once per machine (about 45 minutes) and reused;
#   3. Kelvane itself into build-windows/ (warnings are errors), its test suites run under Wine inside Xvfb;
#   4. the installer Kelvane-VERSION-setup.exe and the portable folder Kelvane-VERSION-windows.zip (CPack);
#   5. the smoke run of scripts/windows/essai.sh: the installer in a fresh Wine prefix, the programs on its demo
#      folder, files traded with the Linux programs (built into build/ when missing), the uninstaller.
# Usage: scripts/windows.sh [--sans-tests]      KELVANE_SOURCES: the archives' folder; KELVANE_CACHE: the caches'.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=windows/caches.sh
. "$ROOT/scripts/windows/caches.sh"
BUILD="$ROOT/build-windows"
SOURCES="${KELVANE_SOURCES:-$ROOT/../shared/sources}"
TESTS=1
[ "${1:-}" = "--sans-tests" ] && TESTS=0
chrono() { echo "== $1 : $(( $(date +%s) - DEBUT )) s"; }

"$ROOT/scripts/deps.sh"
PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
          wine wine64 nsis xvfb xauth imagemagick ninja-build autoconf automake libtool tcl pkg-config zip unzip
          poppler-utils qt6-translations-l10n)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installation des paquets manquants: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

DEBUT=$(date +%s)
if [ ! -f "$KELVANE_QT_WINDOWS/.complet" ] || [ ! -f "$KELVANE_BIBLIOTHEQUES_WINDOWS/.complet" ]; then
    echo "Sources des bibliothèques pour Windows : $SOURCES (archives amont, empreintes SHA256SUMS vérifiées)"
    (cd "$SOURCES" && sha256sum --quiet -c SHA256SUMS)
    SUDO=""
    if [ ! -w "$(dirname "$KELVANE_CACHE")" ] && [ ! -w "$KELVANE_CACHE" ] && [ "$(id -u)" -ne 0 ]; then
        sudo install -d -o "$(id -u)" -g "$(id -g)" "$KELVANE_CACHE"
    fi
    mkdir -p "$KELVANE_CACHE"
fi
"$ROOT/scripts/windows/qt.sh" "$KELVANE_QT_WINDOWS" "$SOURCES"
chrono "Qt pour Windows ($KELVANE_QT_WINDOWS)"
"$ROOT/scripts/windows/bibliotheques.sh" "$KELVANE_BIBLIOTHEQUES_WINDOWS" "$SOURCES"
chrono "bibliothèques C pour Windows ($KELVANE_BIBLIOTHEQUES_WINDOWS)"

# Wine inside its own Xvfb, in a prefix of the build's: the build runs kelvane-outil.exe for the demo folder, the
# suites run under it.
export WINEPREFIX="$BUILD/wine"
ECRAN=":$(( 90 + RANDOM % 100 ))"
Xvfb "$ECRAN" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'wineserver -k 2>/dev/null || true; kill $XVFB 2>/dev/null || true' EXIT
export DISPLAY="$ECRAN"
"$ROOT/scripts/windows/prefixe.sh"

PKG_CONFIG_LIBDIR="$KELVANE_BIBLIOTHEQUES_WINDOWS/lib/pkgconfig" cmake -G Ninja -S "$ROOT" -B "$BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DKELVANE_WINDOWS_PREFIXES="$KELVANE_QT_WINDOWS;$KELVANE_BIBLIOTHEQUES_WINDOWS" \
    -DCMAKE_PREFIX_PATH="$KELVANE_QT_WINDOWS;$KELVANE_BIBLIOTHEQUES_WINDOWS" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DKELVANE_BENCH=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/scripts/windows/wine.sh" >/dev/null
cmake --build "$BUILD" --parallel "$(nproc)"
chrono "Kelvane pour Windows ($BUILD)"

if [ $TESTS -eq 1 ]; then
    ctest --test-dir "$BUILD" --output-on-failure --timeout 900 -LE bench --parallel "$(nproc)"
    chrono "suites sous Wine"
fi

(cd "$BUILD" && cpack -G "NSIS;ZIP" >/dev/null)
chrono "installateur et dossier portable"
ls -l "$BUILD"/Kelvane-*-setup.exe "$BUILD"/Kelvane-*-windows.zip

# The smoke run trades files with the Linux programs: kelvane-outil and the demo folder of a Linux build, made here
# when the clone has none (KELVANE_BUILD names another).
LINUX_BUILD="${KELVANE_BUILD:-$ROOT/build}"
if [ ! -f "$LINUX_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$LINUX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_BENCH=OFF >/dev/null
fi
cmake --build "$LINUX_BUILD" --parallel "$(nproc)" --target kelvane-outil demo_folder >/dev/null
chrono "programmes Linux de l'échange ($LINUX_BUILD)"
KELVANE_BUILD="$LINUX_BUILD" "$ROOT/scripts/windows/essai.sh" "$BUILD"
chrono "essai de l'installation"
