#include "allocation_count.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
thread_local long allocations = 0;
}  // namespace

namespace peers {
long ThreadAllocations() { return allocations; }
}  // namespace peers

// The linker's --wrap=NAME sends this program's calls of NAME to
// __wrap_NAME and leaves the original under __real_NAME.
extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* block, std::size_t size);

void* __wrap_malloc(std::size_t size) {
    ++allocations;
    return __real_malloc(size);
}
void* __wrap_calloc(std::size_t count, std::size_t size) {
    ++allocations;
    return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, std::size_t size) {
    ++allocations;
    return __real_realloc(block, size);
}
}

// operator new lives in libstdc++, whose malloc calls the wrap cannot see:
// replaced here by one on the wrapped malloc. Kept out of line, so that GCC
// does not pair an inlined malloc with a delete it sees as mismatched.
#if defined(__GNUC__)
#define ECC200_BENCH_NOINLINE __attribute__((noinline))
#else
#define ECC200_BENCH_NOINLINE
#endif
ECC200_BENCH_NOINLINE void* operator new(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
ECC200_BENCH_NOINLINE void* operator new[](std::size_t size) { return operator new(size); }
ECC200_BENCH_NOINLINE void operator delete(void* block) noexcept { std::free(block); }
ECC200_BENCH_NOINLINE void operator delete(void* block, std::size_t) noexcept { std::free(block); }
ECC200_BENCH_NOINLINE void operator delete[](void* block) noexcept { std::free(block); }
ECC200_BENCH_NOINLINE void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
