supplink_add_fuzzer(fuzz_sjablonen SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_sjablonen.cpp LIBS supplink_sources)
