# Tests of the assistant engine and of the library files the program ships.
lodestar_add_test(assistant_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/library_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/shipped_libraries_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/composer_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/used_patterns_test.cpp
    LIBS lodestar_assistant lodestar_files lodestar_regexp lodestar_core)
