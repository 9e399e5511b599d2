#!/usr/bin/env bash
# Installs what is missing, builds everything (the window included) in Release with warnings as
# errors into build-test/ and runs every test (the randomized users, the fault injection and the
# fuzz seed corpora among them; the window tests under a virtual display, xvfb-run), then prints
# its own time, the package installation not counted.
#
#   scripts/test.sh          the everyday command
#   scripts/test.sh --full   adds the engine tests under AddressSanitizer and
#                            UndefinedBehaviorSanitizer, the clang build of lodestar-cli and the
#                            fuzz runs (what CI runs)
set -euo pipefail
cd "$(dirname "$0")/.."

full=false
for arg in "$@"; do
    case "$arg" in
        --full) full=true ;;
        *) echo "usage: scripts/test.sh [--full]" >&2; exit 2 ;;
    esac
done

scripts/deps.sh --gui
start=$SECONDS
jobs="$(nproc)"

# Ninja keeps both cores busy across the targets where make waits folder by folder. A folder
# configured earlier keeps its own generator.
configure() {
    local folder="$1"
    shift
    local generator=()
    if [ ! -f "$folder/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
        generator=(-G Ninja)
    fi
    cmake -S . -B "$folder" "${generator[@]}" "$@" >/dev/null
}

elapsed() {
    local seconds=$((SECONDS - start))
    printf '%dm %02ds' $((seconds / 60)) $((seconds % 60))
}

configure build-test -DCMAKE_BUILD_TYPE=Release -DLODESTAR_GUI=ON
cmake --build build-test -j"$jobs"
# A test without a limit of its own is stopped after five minutes rather than hanging the run.
ctest --test-dir build-test --output-on-failure -j"$jobs" --timeout 300
echo "test.sh: built and ran every test in $(elapsed) (package installation not counted)"

if ! $full; then
    exit 0
fi

configure build-asan -DCMAKE_BUILD_TYPE=Debug -DLODESTAR_SANITIZE=ON -DLODESTAR_GUI=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600 -L engine

CXX=clang++ configure build-clang -DCMAKE_BUILD_TYPE=Release -DLODESTAR_GUI=OFF \
    -DLODESTAR_TESTS=OFF
cmake --build build-clang -j"$jobs" --target lodestar-cli

scripts/fuzz.sh 25

# The package check: run here, at the end of the full run, when scripts/package-check.sh exists.
if [ -f scripts/package-check.sh ]; then
    bash scripts/package-check.sh
fi

echo "test.sh --full: done in $(elapsed) (package installation not counted)"
