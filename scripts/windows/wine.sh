#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: CTest's emulator for the cross-built suites, and the smoke run's
# launcher. The DLLs are found through WINEPATH (Qt, the C libraries, the MinGW runtime); Qt's plug-ins lie beside
# the programs (packaging/windows). Needs DISPLAY (an Xvfb: without a display Wine hangs when the program exits) and WINEPREFIX.
# Usage: wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=caches.sh
. "$HERE/caches.sh"
if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    echo "wine.sh : DISPLAY et WINEPREFIX doivent être définis (scripts/windows.sh les définit)" >&2
    exit 2
fi
gcc_dll="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
pthread_dll="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")"
export WINEPATH="Z:$KELVANE_QT_WINDOWS/bin;Z:$KELVANE_BIBLIOTHEQUES_WINDOWS/bin;Z:$gcc_dll;Z:$pthread_dll"
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine keeps Qt's variables from the program unless they come as WINEQT_... Qt's offscreen platform has no fonts
# on Windows: the suites that ask for it get the Windows platform, in the Xvfb.
while IFS= read -r variable; do
    if [ "$variable" != QT_QPA_PLATFORM ] || [ "${!variable}" != offscreen ]; then
        export "WINE$variable=${!variable}"
    fi
done < <(compgen -e | grep '^QT_' || true)
# A Qt Test suite's report reaches a pipe under Wine only through a file: it is written to one, then printed.
if [[ "$(basename "$1")" == tst_*.exe ]] && [ "${2:-}" != "-o" ]; then
    journal="$(mktemp)"
    status=0
    wine "$1" -o "Z:$journal,txt" "${@:2}" || status=$?
    tr -d '\r' <"$journal"
    rm -f "$journal"
    exit $status
fi
exec wine "$@"
