#pragma once
// The promises a fuzz target checks on what a routine gave back: a broken one
// ends the run as a crash, after naming the line and the condition.
//
//     FUZZ_CHECK(table.columnNames.size() == table.kinds.size());

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
