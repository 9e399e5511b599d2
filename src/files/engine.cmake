# Text files in their own encodings, safe whole-file writes, paths, wildcards and folder listing.
add_library(lodestar_files STATIC
    ${CMAKE_CURRENT_LIST_DIR}/absolute_path.cpp
    ${CMAKE_CURRENT_LIST_DIR}/block_text_read.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codepage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_bytes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_error.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_identity.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_ops.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_listing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_tree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_visits.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_for_reading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/path_glob.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/safe_write.cpp
    ${CMAKE_CURRENT_LIST_DIR}/same_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_decoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_encoding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/user_folders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wildcard.cpp)
target_link_libraries(lodestar_files PUBLIC lodestar_core)
