#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (qtbase, qtsvg, qtcharts; shared libraries, Release) with Debian's MinGW-w64
# and Debian's own Qt 6.4.2 as the host tools, into the folder given as first argument. The folder is complete when
# it holds .complet; an incomplete one is built again from scratch.
# Usage: qt.sh PREFIX SOURCES_FOLDER
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
PREFIX="$1"
SOURCES="$2"
WORK="${KELVANE_WINDOWS_WORK:-/var/tmp/kelvane-windows}/$(basename "$PREFIX")"
JOBS=$(( $(nproc) + 1 ))

if [ -f "$PREFIX/.complet" ]; then
    exit 0
fi
rm -rf "$PREFIX" "$WORK"
mkdir -p "$PREFIX" "$WORK"
# The Qt folder keeps the toolchain it was built with: its own qt.toolchain.cmake loads it.
cp "$HERE/../../cmake/mingw-w64-x86_64.cmake" "$PREFIX/mingw-w64-x86_64.cmake"

unpack() { # archive → the folder it unpacked into
    local archive="$SOURCES/$1" top
    top="$(tar tf "$archive" | head -1 | cut -d/ -f1)"
    tar xf "$archive" -C "$WORK"
    echo "$WORK/$top"
}

echo "Qt pour Windows : qtbase (de ${SOURCES}) vers $PREFIX"
QTBASE="$(unpack qt6-base_6.4.2+dfsg.orig.tar.xz)"
# Debian's archive removes the tablet (wintab) sources, hence tabletevent off; OpenGL stays on (dynamic), without
# which the Windows platform plug-in of 6.4.2 does not compile. Qt's own copies of zlib, PCRE2, libpng and libjpeg
# are used, so that the programs need no further DLL.
cmake -G Ninja -S "$QTBASE" -B "$WORK/qtbase-build" \
    -DCMAKE_TOOLCHAIN_FILE="$PREFIX/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
cmake --build "$WORK/qtbase-build" --parallel "$JOBS"
cmake --install "$WORK/qtbase-build"

for module in qtsvg qtcharts; do
    echo "Qt pour Windows : $module"
    src="$(unpack "$module-everywhere-src-6.4.2.tar.xz")"
    cmake -G Ninja -S "$src" -B "$WORK/$module-build" \
        -DCMAKE_TOOLCHAIN_FILE="$PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    cmake --build "$WORK/$module-build" --parallel "$JOBS"
    cmake --install "$WORK/$module-build"
done

rm -rf "$WORK"
touch "$PREFIX/.complet"
