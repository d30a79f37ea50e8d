// Reading option values: whole numbers in a range and pairs of them, each
// failure a usage error naming the option.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace ecc200::tool {

// A usage error found while reading the options; its text is the one line
// reported before the usage line.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A whole decimal number from min to max, or a usage error naming the option.
long ParseInteger(const std::string& option, const std::string& text, long min, long max);

// A number above 0 (a module size), or a usage error naming the option and `unit`.
double ParsePositive(const std::string& option, const std::string& text, const std::string& unit);

// Two whole numbers from min to max joined by `separator` ("500x300",
// "2/5"), or a usage error quoting `example`.
struct NumberPair {
    int first;
    int second;
};
NumberPair ParsePair(const std::string& option, const std::string& text, char separator, long min, long max,
                     const std::string& example);

}  // namespace ecc200::tool
