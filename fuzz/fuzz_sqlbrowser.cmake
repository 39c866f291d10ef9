supplink_add_fuzzer(fuzz_sqlbrowser SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_sqlbrowser.cpp LIBS supplink_platform)
