# The markup highlighter and the syntax table reader.
add_library(lodestar_syntax STATIC markup_highlighter.cpp syntax_table.cpp)
target_link_libraries(lodestar_syntax PUBLIC lodestar_core PRIVATE lodestar_files)
