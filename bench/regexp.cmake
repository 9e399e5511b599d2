# Benchmarks of the regular-expression engine.
target_sources(lodestar_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/regexp_bench.cpp)
target_link_libraries(lodestar_bench PRIVATE lodestar_regexp)
