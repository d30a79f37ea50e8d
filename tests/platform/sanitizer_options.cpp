// Some cases ask for more memory than exists to see the allocation fail
// cleanly. AddressSanitizer reports such requests as errors by default;
// this makes them fail the way the C++ runtime does without it (null from
// calloc and nothrow new). Without the sanitizer the function is unused.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
