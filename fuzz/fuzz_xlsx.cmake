supplink_add_fuzzer(fuzz_xlsx SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_xlsx.cpp LIBS supplink_platform)
