# Tests of the search over a folder's files.
lodestar_add_test(folder_search_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/multi_search_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/reusable_reader_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/prefilter_search_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/special_file_test.cpp
    LIBS lodestar_folder_search)
