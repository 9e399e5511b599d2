# The options file and the conversions of its lines.
add_library(lodestar_settings STATIC
    ${CMAKE_CURRENT_LIST_DIR}/option_values.cpp
    ${CMAKE_CURRENT_LIST_DIR}/options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/options_location.cpp
    ${CMAKE_CURRENT_LIST_DIR}/user_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_state.cpp)
target_link_libraries(lodestar_settings PUBLIC lodestar_files lodestar_core)
