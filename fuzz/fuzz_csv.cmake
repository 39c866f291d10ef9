supplink_add_fuzzer(fuzz_csv SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_csv.cpp LIBS supplink_start)
