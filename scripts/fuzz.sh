#!/usr/bin/env bash
# Builds the fuzz harnesses of tests/fuzz with clang's libFuzzer (and AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time on a copy of its seed corpus.
# Prints each harness's executions; fails when one finds a crash, a leak or a time-out.
#   scripts/fuzz.sh [seconds per harness, default 25]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-25}"
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    echo "fuzz: clang's libFuzzer is not available; the seed corpora ran as tests instead."
    exit 0
fi

harnesses=(fuzz_regexp fuzz_command_file fuzz_options fuzz_highlighter fuzz_codepage fuzz_byte_paths)
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLODESTAR_FUZZ=ON \
    -DLODESTAR_GUI=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${harnesses[@]}"

status=0
for harness in "${harnesses[@]}"; do
    corpus="$probe/$harness"
    mkdir -p "$corpus"
    cp tests/fuzz/corpus/"$harness"/* "$corpus"/
    if build-fuzz/fuzz/"$harness" "$corpus" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="$probe/" \
        >"$probe/$harness.log" 2>&1; then
        result="no finding"
    else
        result="FINDING (see below)"
        status=1
    fi
    runs="$(grep -m1 'stat::number_of_executed_units' "$probe/$harness.log" | awk '{print $2}')"
    echo "fuzz: $harness: ${runs:-?} executions in ${seconds} s, $result"
    if [ "$result" != "no finding" ]; then tail -40 "$probe/$harness.log"; fi
done
exit "$status"
