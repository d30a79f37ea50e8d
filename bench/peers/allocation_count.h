// Counting the heap allocations a thread makes: every operator new of the
// program and every malloc, calloc and realloc called from code linked into
// it statically (the library included), through the linker's --wrap of
// those three (allocation_count.cpp). Calls made inside other shared
// libraries (zint's, libstdc++'s own) are not seen.
#pragma once

namespace peers {

// The calling thread's allocations so far.
long ThreadAllocations();

}  // namespace peers
