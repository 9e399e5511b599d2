# The regular-expression engine: the dialect on PCRE2's 16-bit library.
add_library(lodestar_regexp STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/byte_matcher.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/byte_prefilter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/char_set.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/dialect_translator.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/compiled_pattern.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/match_session.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/replacement.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/regexp.cpp)
target_include_directories(lodestar_regexp PUBLIC ${CMAKE_SOURCE_DIR}/src)
pkg_check_modules(PCRE2_8 REQUIRED IMPORTED_TARGET libpcre2-8)
target_link_libraries(lodestar_regexp PUBLIC lodestar_core PRIVATE PkgConfig::PCRE2
                      PkgConfig::PCRE2_8)
