# Tests of the options file.
lodestar_add_test(settings_engine_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/options_location_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/user_settings_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/window_state_test.cpp
    LIBS lodestar_settings)
