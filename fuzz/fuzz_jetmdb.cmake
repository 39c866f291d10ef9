supplink_add_fuzzer(fuzz_jetmdb SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_jetmdb.cpp LIBS supplink_platform)
