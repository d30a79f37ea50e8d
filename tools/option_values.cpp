#include "option_values.h"

#include <exception>

namespace ecc200::tool {
namespace {

// The whole of `text` read by `convert` (std::stol, std::stod), or nothing
// when it is not one number.
template <typename Convert>
auto ParseWhole(const std::string& text, Convert convert) -> std::optional<decltype(convert(text, nullptr))> {
    std::size_t used = 0;
    try {
        const auto value = convert(text, &used);
        if (used != 0 && used == text.size()) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

long ParseInteger(const std::string& option, const std::string& text, long min, long max) {
    const std::optional<long> value =
        ParseWhole(text, [](const std::string& t, std::size_t* used) { return std::stol(t, used); });
    if (!value || *value < min || *value > max) {
        throw UsageError(option + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return *value;
}

double ParsePositive(const std::string& option, const std::string& text, const std::string& unit) {
    const std::optional<double> value =
        ParseWhole(text, [](const std::string& t, std::size_t* used) { return std::stod(t, used); });
    if (!value || !(*value > 0)) throw UsageError(option + " takes a size in " + unit + " above 0");
    return *value;
}

NumberPair ParsePair(const std::string& option, const std::string& text, char separator, long min, long max,
                     const std::string& example) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos) throw UsageError(option + " takes " + example);
    const long first = ParseInteger(option, text.substr(0, at), min, max);
    const long second = ParseInteger(option, text.substr(at + 1), min, max);
    return {static_cast<int>(first), static_cast<int>(second)};
}

}  // namespace ecc200::tool
