supplink_add_fuzzer(fuzz_textfile SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_textfile.cpp LIBS supplink_sources)
