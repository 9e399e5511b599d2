# The source view's body (highlighted text with marked matches), the invisible-character marks
# and the match list fragment.
add_library(lodestar_render STATIC invisible_marks.cpp match_list.cpp source_body.cpp
                                   source_pieces.cpp)
target_link_libraries(lodestar_render PUBLIC lodestar_core PRIVATE lodestar_syntax)
