supplink_add_fuzzer(fuzz_xls SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_xls.cpp LIBS supplink_platform)
