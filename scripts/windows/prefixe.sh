#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX, a fresh Windows for the programs of the build, when it does not exist yet. Wine
# makes the prefix's own folder but not its parents (a clean clone has no build folder yet).
set -euo pipefail
if [ -d "$WINEPREFIX/drive_c/windows" ]; then
    exit 0
fi
mkdir -p "$(dirname "$WINEPREFIX")"
if ! journal=$(wineboot --init 2>&1); then
    echo "$journal" >&2
    echo "Le préfixe Wine $WINEPREFIX n'a pas pu être créé." >&2
    exit 1
fi
wineserver -w
