supplink_add_fuzzer(fuzz_mathparser SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_mathparser.cpp LIBS supplink_mathparser)
