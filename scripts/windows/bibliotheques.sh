#!/usr/bin/env bash
# Builds the C libraries of Kelvane for 64-bit Windows with Debian's MinGW-w64, into the folder given as first
# argument: SQLite (static), libxlsxwriter (a DLL holding zlib), libmdb without GLib (static, with the iconv of
# tools/lecteuraccess/iconv-windows). The folder is complete when it holds .complet.
# Usage: bibliotheques.sh PREFIX SOURCES_FOLDER
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PREFIX="$1"
SOURCES="$2"
WORK="${KELVANE_WINDOWS_WORK:-/var/tmp/kelvane-windows}/$(basename "$PREFIX")"
HOST=x86_64-w64-mingw32
CC="$HOST-gcc-posix"
JOBS=$(( $(nproc) + 1 ))

if [ -f "$PREFIX/.complet" ]; then
    exit 0
fi
rm -rf "$PREFIX" "$WORK"
mkdir -p "$PREFIX/include" "$PREFIX/lib/pkgconfig" "$PREFIX/bin" "$WORK"

unpack() { # archive → the folder it unpacked into
    local archive="$SOURCES/$1" top
    top="$(tar tf "$archive" | head -1 | cut -d/ -f1)"
    tar xf "$archive" -C "$WORK"
    echo "$WORK/$top"
}

echo "Bibliothèques pour Windows : SQLite"
src="$(unpack sqlite3_3.40.1.orig.tar.xz)"
# The amalgamation is made on this machine (it needs tclsh), then compiled for Windows.
mkdir -p "$WORK/sqlite-build"
(cd "$WORK/sqlite-build" && "$src/configure" --disable-tcl >/dev/null && make sqlite3.c sqlite3.h >/dev/null)
"$CC" -O2 -c "$WORK/sqlite-build/sqlite3.c" -o "$WORK/sqlite-build/sqlite3.o" \
    -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_DEFAULT_FOREIGN_KEYS=0
"$HOST-ar" rcs "$PREFIX/lib/libsqlite3.a" "$WORK/sqlite-build/sqlite3.o"
cp "$WORK/sqlite-build/sqlite3.h" "$src/src/sqlite3ext.h" "$PREFIX/include/" 2>/dev/null ||
    cp "$WORK/sqlite-build/sqlite3.h" "$PREFIX/include/"

echo "Bibliothèques pour Windows : libxlsxwriter"
src="$(unpack libxlsxwriter_1.1.4.orig.tar.gz)"
cmake -G Ninja -S "$src" -B "$WORK/xlsx-build" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DZLIB_LIBRARY="/usr/$HOST/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$HOST/include" >/dev/null
cmake --build "$WORK/xlsx-build" --parallel "$JOBS" >/dev/null
cmake --install "$WORK/xlsx-build" >/dev/null

echo "Bibliothèques pour Windows : iconv pour libmdb"
"$CC" -O2 -Wall -Wextra -Werror -c "$ROOT/tools/lecteuraccess/iconv-windows/iconv.c" -o "$WORK/iconv.o"
"$HOST-ar" rcs "$PREFIX/lib/libiconv.a" "$WORK/iconv.o"
cp "$ROOT/tools/lecteuraccess/iconv-windows/iconv.h" "$PREFIX/include/"

echo "Bibliothèques pour Windows : libmdb"
src="$(unpack mdbtools-1.0.0.tar.xz)"
# Built in its own tree (its headers are generated there), static, with the iconv above: configure's own iconv
# check cannot link on Windows (it passes libtool's -no-undefined to the compiler), hence the answers given to it.
(cd "$src" && autoreconf -i >/dev/null 2>&1 &&
    ./configure --host="$HOST" CC="$CC" --prefix="$PREFIX" --disable-glib --disable-man \
        --disable-shared --enable-static CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib" \
        am_cv_func_iconv=yes am_cv_lib_iconv=yes >/dev/null &&
    grep -q 'MDBTOOLS_H_HAVE_ICONV_H 1' include/mdbtools.h &&
    make -C src/libmdb -j"$JOBS" >/dev/null && make -C src/libmdb install >/dev/null &&
    make -C include install >/dev/null && make install-pkgconfigDATA >/dev/null)
sed -i 's/^Libs: .*/& -liconv/' "$PREFIX/lib/pkgconfig/libmdb.pc"

rm -rf "$WORK"
touch "$PREFIX/.complet"
