# Pattern building: cleaning, the dot rewrite, escape decoding and the replace/count helpers.
add_library(lodestar_pattern STATIC
    ${CMAKE_CURRENT_LIST_DIR}/pattern.cpp
    ${CMAKE_CURRENT_LIST_DIR}/escapes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/expression_ops.cpp)
target_link_libraries(lodestar_pattern PUBLIC lodestar_regexp lodestar_files lodestar_core)
