# Command files: parsing and applying.
lodestar_add_test(replace_command_file_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/command_file_test.cpp
    LIBS lodestar_replace)
