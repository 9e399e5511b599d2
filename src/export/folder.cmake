# The extraction run over the current file or the ticked files of a folder.
add_library(lodestar_extraction STATIC ${CMAKE_CURRENT_LIST_DIR}/extraction.cpp)
target_link_libraries(lodestar_extraction PUBLIC
    lodestar_export lodestar_folder_search lodestar_regexp lodestar_files lodestar_core)
