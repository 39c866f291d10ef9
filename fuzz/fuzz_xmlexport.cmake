supplink_add_fuzzer(fuzz_xmlexport SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_xmlexport.cpp LIBS supplink_sources)
