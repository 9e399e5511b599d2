# Sources of these benchmarks: target_sources(lodestar_bench PRIVATE ...)
target_sources(lodestar_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/decode_bench.cpp)
target_link_libraries(lodestar_bench PRIVATE lodestar_files)
