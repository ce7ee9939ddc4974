#!/usr/bin/env bash
# Builds Kelvane and starts it on a fresh copy of the demo application folder.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/deps.sh"
"$ROOT/scripts/build.sh" "$ROOT/build"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/kelvane-XXXXXX")"
cp -r "$ROOT/build/demo/." "$WORK/"
echo "Dossier de travail: $WORK"
cd "$WORK"
exec "$ROOT/build/src/kelvane"
