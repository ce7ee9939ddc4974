#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX, a fresh Windows for the programs of the build, when it does not exist yet.
set -euo pipefail
if [ -d "$WINEPREFIX/drive_c/windows" ]; then
    exit 0
fi
wineboot --init >/dev/null 2>&1
wineserver -w
