supplink_add_fuzzer(fuzz_jetsql SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_jetsql.cpp LIBS supplink_platform)
