# Pattern building, escape decoding and the replace/count helpers.
lodestar_add_test(search_pattern_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/pattern_test.cpp
    LIBS lodestar_pattern)
