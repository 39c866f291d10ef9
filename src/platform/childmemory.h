#pragma once
// Bounds the memory of a child process that reads an untrusted file with a
// library that trusts it (libmdb): a damaged file can make such a reader
// allocate without end, hundreds of megabytes a second, long before its parent
// sees it has stopped making progress. Call it first thing in the child:
//
//     if (fork() == 0) {
//         limitChildMemory();      // beyond the budget allocations fail and the child dies
//         ... read ...
//     }
//
// The budget counts on top of what the process holds when it is called (its
// heap and private mappings); 1 GiB unless set (tests). Where the platform
// cannot bound a process's memory (or an AddressSanitizer build, whose
// reserved shadow and heap regions the bound cannot see), nothing is bounded.

#include <QtGlobal>

namespace supplink {

void limitChildMemory();
// Whether limitChildMemory bounds anything on this platform and build.
bool childMemoryBounded();
// The budget in bytes; 0 restores the default of 1 GiB.
void setChildMemoryBudget(qint64 bytes);

} // namespace supplink
