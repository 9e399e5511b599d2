# Tests of the headless main window: scenario tests that drive it as a user would.
lodestar_add_test(window_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/window/startup_modes_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/find_render_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/navigation_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/replace_save_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/views_history_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/layout_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/scenario_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window/help_pages_test.cpp
    LIBS lodestar_window lodestar_platform_fakes)
