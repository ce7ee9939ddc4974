#!/usr/bin/env bash
# Checks that every C++ file of the tree is laid out as .clang-format says; with --corriger, lays them out so.
# Usage: scripts/format.sh [--corriger]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
mapfile -t fichiers < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--corriger" ]; then
    clang-format -i "${fichiers[@]}"
    exit 0
fi
journal="$(mktemp)"
trap 'rm -f "$journal"' EXIT
if ! clang-format --dry-run --Werror "${fichiers[@]}" 2>"$journal"; then
    grep -E "^[^ ].*: (error|warning):" "$journal" | cut -d: -f1 | sort -u | sed 's/^/  /' >&2
    echo "Mise en forme : ces fichiers ne suivent pas .clang-format (scripts/format.sh --corriger les reprend)." >&2
    exit 1
fi
echo "Mise en forme : ${#fichiers[@]} fichiers C++ conformes à .clang-format"
