# Tests of the export formats and the delimiter tables.
lodestar_add_test(export_format_tests SOURCES formats_test.cpp LIBS lodestar_export)
