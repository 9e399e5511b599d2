# Tests of the source view's body, the invisible-character marks and the match list.
lodestar_add_test(render_tests SOURCES render_test.cpp source_pieces_test.cpp LIBS lodestar_render)
