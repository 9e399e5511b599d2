# Tests of the markup highlighter and the syntax table.
lodestar_add_test(syntax_tests SOURCES highlighter_test.cpp syntax_table_test.cpp
                  LIBS lodestar_syntax)
