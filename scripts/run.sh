#!/usr/bin/env bash
# Builds Kelvane and starts it on a fresh copy of the demo application folder; "scripts/run.sh atelier" starts the
# teachers' workbench there instead.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM=kelvane
if [ "${1:-}" = "atelier" ]; then
    PROGRAM=kelvane-atelier
fi
"$ROOT/scripts/deps.sh"
"$ROOT/scripts/build.sh" "$ROOT/build"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/kelvane-XXXXXX")"
cp -r "$ROOT/build/demo/." "$WORK/"
echo "Dossier de travail: $WORK"
cd "$WORK"
exec "$ROOT/build/src/$PROGRAM"
