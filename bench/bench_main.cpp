// Entry point of the in-process benchmarks; each engine's benchmarks register themselves.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
