// Some cases ask for more memory than exists to see the allocation fail
// cleanly. AddressSanitizer reports such requests as errors by default;
// this makes them fail the way the C++ runtime does without it (null from
// calloc and nothrow new). The sanitizer's runtime looks the function up
// in the executable, so it must stay visible although the project hides
// symbols by default. Without the sanitizer nothing calls it.
extern "C" [[gnu::visibility("default"), gnu::used]] const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
