# Throughput of the markup highlighter.
target_sources(lodestar_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/syntax_bench.cpp)
target_link_libraries(lodestar_bench PRIVATE lodestar_syntax)
