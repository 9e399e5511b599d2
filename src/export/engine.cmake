# The export formats and the delimiter tables of the export dialog.
add_library(lodestar_export STATIC delimiters.cpp formats.cpp)
target_link_libraries(lodestar_export PUBLIC lodestar_files lodestar_core)
