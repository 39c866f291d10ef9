supplink_add_fuzzer(fuzz_settings SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_settings.cpp LIBS supplink_platform)
