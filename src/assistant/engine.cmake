# The assistant engine: library files, pattern composition with undo and redo, and the history
# of patterns used during a run.
add_library(lodestar_assistant STATIC
    ${CMAKE_CURRENT_LIST_DIR}/library.cpp
    ${CMAKE_CURRENT_LIST_DIR}/composer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/used_patterns.cpp)
target_include_directories(lodestar_assistant PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(lodestar_assistant PUBLIC lodestar_core PRIVATE lodestar_files)
