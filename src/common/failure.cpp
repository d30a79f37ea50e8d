#include "common/failure.h"

#include <cstdarg>
#include <cstdio>

namespace ecc200 {

Outcome Refused(Failure failure, const char* format, ...) {
    char text[256];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    Outcome outcome = Failed(failure);
    outcome.message = text;
    return outcome;
}

}  // namespace ecc200
