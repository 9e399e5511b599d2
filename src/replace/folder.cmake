# Backups and restore, the replace over the files of a folder and the batch run over them.
add_library(lodestar_folder_replace STATIC
    ${CMAKE_CURRENT_LIST_DIR}/backup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/backup_paths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/backup_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_details.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_lock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_backups.cpp
    ${CMAKE_CURRENT_LIST_DIR}/backup_link.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commit_queue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/multi_replace.cpp
    ${CMAKE_CURRENT_LIST_DIR}/batch_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_journal.cpp)
target_link_libraries(lodestar_folder_replace PUBLIC lodestar_folder_search lodestar_replace
                      lodestar_regexp lodestar_files lodestar_core)
