# Sources of these benchmarks: target_sources(lodestar_bench PRIVATE ...)
