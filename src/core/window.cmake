# The headless main window: control and pane models, layout and the behaviour of every command.
# Plain C++: it must never link Qt.
add_library(lodestar_window STATIC
    ${CMAKE_CURRENT_LIST_DIR}/window/controls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/control_catalog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/html_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/pane_model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/main_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/switches_history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/search_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/navigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/replace_save.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/view_switches.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/help_pages.cpp)
target_include_directories(lodestar_window PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(lodestar_window PUBLIC
    lodestar_platform lodestar_regexp lodestar_pattern lodestar_render lodestar_syntax
    lodestar_settings lodestar_folder_replace lodestar_replace lodestar_assistant lodestar_files lodestar_core)
