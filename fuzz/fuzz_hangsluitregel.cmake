supplink_add_fuzzer(fuzz_hangsluitregel SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_hangsluitregel.cpp
                    LIBS supplink_import supplink_json)
