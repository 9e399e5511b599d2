# Tests of the text files, code page, paths, wildcards, folder listing and file operations.
lodestar_add_test(files_engine_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/absolute_path_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/block_text_read_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/codepage_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/file_ops_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/folder_listing_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/folder_tree_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/paths_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/safe_write_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/same_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_encoding_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_file_test.cpp
    LIBS lodestar_files)
