# Tests of the extraction run.
lodestar_add_test(extraction_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/extraction_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/extraction_encoding_test.cpp
    LIBS lodestar_extraction lodestar_export)
