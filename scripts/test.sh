#!/usr/bin/env bash
# Installs what is missing, builds everything (the window included) with warnings as errors and
# runs every test (the fault-injection suite among them), the window tests under a virtual
# display (xvfb-run); then runs the engine tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, without the window; builds lodestar-cli with clang as well; and
# runs each fuzz harness for a bounded time.
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

CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Release -DLODESTAR_GUI=OFF \
    -DLODESTAR_TESTS=OFF >/dev/null
cmake --build build-clang -j"$jobs" --target lodestar-cli

scripts/fuzz.sh 25
