# Batch command files: parsing and applying them through the shared expression.
add_library(lodestar_replace STATIC
    ${CMAKE_CURRENT_LIST_DIR}/command_parser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/apply_commands.cpp)
target_link_libraries(lodestar_replace PUBLIC lodestar_pattern lodestar_regexp lodestar_files
                      lodestar_core)
