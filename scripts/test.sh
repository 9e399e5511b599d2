#!/usr/bin/env bash
# Installs what is missing, builds everything (the window included) with warnings as errors and
# runs every test, the window tests under a virtual display (xvfb-run); then runs the engine
# tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, without the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --gui
jobs="$(nproc)"

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DLODESTAR_GUI=ON >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLODESTAR_SANITIZE=ON -DLODESTAR_GUI=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs" -L engine
