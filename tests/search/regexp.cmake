# Tests of the regular-expression engine, and its differential test against Node.js's RegExp.
lodestar_add_test(regexp_tests
    SOURCES regexp_test.cpp regexp_dialect_test.cpp regexp_limits_test.cpp
            byte_prefilter_test.cpp byte_paths_test.cpp
    LIBS lodestar_regexp)

# Answers cases given as JSON lines for oracle/oracle.mjs; built for the tests only.
add_executable(regexp_probe regexp_probe.cpp)
target_link_libraries(regexp_probe PRIVATE lodestar_regexp)
set_target_properties(regexp_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

find_program(LODESTAR_NODE NAMES node nodejs)
if(LODESTAR_NODE)
    add_test(NAME regexp_oracle
             COMMAND ${LODESTAR_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/oracle/oracle.mjs
                     $<TARGET_FILE:regexp_probe>)
    set_tests_properties(regexp_oracle PROPERTIES LABELS engine)
else()
    message(WARNING "Node.js not found: the regexp_oracle test is not registered "
                    "(scripts/deps.sh installs it)")
endif()
