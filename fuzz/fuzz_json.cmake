supplink_add_fuzzer(fuzz_json SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_json.cpp LIBS supplink_json supplink_transfer)
