#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh BUILD_DIR [extra cmake arguments]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$1"
shift
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$BUILD" --parallel "$(nproc)"
