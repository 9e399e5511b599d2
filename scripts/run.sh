#!/usr/bin/env bash
# Installs what is missing, builds Lodestar into build/ and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DLODESTAR_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/lodestar "$@"
