// The translation unit that carries the tests' precompiled header (see tests/CMakeLists.txt).
