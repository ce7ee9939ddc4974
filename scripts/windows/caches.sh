# Sourced by the Windows scripts: where the Windows builds of Qt and of the C libraries are kept, outside the work
# tree, each in a folder named after a hash of the scripts that build it, so that a change of recipe builds anew.
WINDOWS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
KELVANE_CACHE="${KELVANE_CACHE:-/var/cache/kelvane}"
empreinte() { cat "$@" | sha256sum | cut -c1-12; }
KELVANE_QT_WINDOWS="$KELVANE_CACHE/qt-6.4.2-mingw-$(empreinte "$WINDOWS_ROOT/scripts/windows/qt.sh" \
    "$WINDOWS_ROOT/cmake/mingw-w64-x86_64.cmake")"
KELVANE_BIBLIOTHEQUES_WINDOWS="$KELVANE_CACHE/bibliotheques-mingw-$(empreinte \
    "$WINDOWS_ROOT/scripts/windows/bibliotheques.sh" "$WINDOWS_ROOT/cmake/mingw-w64-x86_64.cmake" \
    "$WINDOWS_ROOT"/tools/lecteuraccess/iconv-windows/*)"
