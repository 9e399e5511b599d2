# Tests of backups, restore, and the replace and batch runs over a folder's files.
lodestar_add_test(folder_replace_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/backup_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/multi_replace_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/batch_files_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/backup_working_folder_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/file_safety_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/batch_encoding_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/tree_backup_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/parallel_runs_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/state_folder.cpp
            ${CMAKE_CURRENT_LIST_DIR}/file_history_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/folder_history_test.cpp
    LIBS lodestar_folder_replace)
