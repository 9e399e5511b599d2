# The search over the files of a folder and the sink every folder loop reports to.
add_library(lodestar_folder_search STATIC ${CMAKE_CURRENT_LIST_DIR}/multi_search.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reusable_reader.cpp)
target_link_libraries(lodestar_folder_search PUBLIC lodestar_regexp lodestar_files lodestar_core)
