#!/usr/bin/env bash
# Installs what is missing (the Qt packages included), builds Lodestar with its window into
# build/ and starts the desktop program. Without a display the program says so and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --gui
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DLODESTAR_TESTS=OFF -DLODESTAR_GUI=ON >/dev/null
cmake --build build -j"$(nproc)"
exec build/lodestar "$@"
