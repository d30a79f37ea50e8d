#include "encoder/gs1_element_string.h"

#include <algorithm>

#include "encoder/codeword_values.h"
#include "encoder/gs1_ai_table.h"

namespace ecc200 {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

// GS1 AI encodable character set 82 (GS1 system standard, figure
// 7.11-1) and character set 39 (figure 7.11-2).
bool InSet82(char c) {
    static constexpr std::string_view kPunctuation = "!\"%&'()*+,-./:;<=>?_";
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || kPunctuation.find(c) != std::string_view::npos;
}
bool InSet39(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || c == '#' || c == '-' || c == '/'; }

// GS1 mod-10: weights 3 and 1 alternating from the digit before the check digit.
int CheckDigit(std::string_view digits) {
    int sum = 0;
    int weight = 3;
    for (std::size_t i = digits.size() - 1; i-- > 0;) {
        sum += weight * (digits[i] - '0');
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

int TwoDigits(std::string_view s, std::size_t at) { return 10 * (s[at] - '0') + (s[at + 1] - '0'); }

// YYMMDD, then HH and MM where the mark asks for them.
bool IsDateTime(std::string_view s, bool dayZero) {
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int month = TwoDigits(s, 2), day = TwoDigits(s, 4);
    if (month < 1 || month > 12 || day > kDays[month - 1] || (day == 0 && !dayZero)) return false;
    if (s.size() >= 8 && TwoDigits(s, 6) > 23) return false;
    return s.size() < 10 || TwoDigits(s, 8) <= 59;
}

struct Component {
    char set = 'N';
    std::size_t minLength = 0, maxLength = 0;
    std::string_view marks;
};

Component ParseComponent(std::string_view f) {
    Component c;
    c.set = f[0];
    std::size_t at = 1;
    const bool variable = f.substr(1, 2) == "..";
    if (variable) at = 3;
    std::size_t length = 0;
    while (at < f.size() && IsDigit(f[at])) length = 10 * length + static_cast<std::size_t>(f[at++] - '0');
    c.maxLength = length;
    c.minLength = variable ? 1 : length;
    c.marks = f.substr(at);
    if (c.marks.find('?') != std::string_view::npos) c.minLength = 0;
    return c;
}

std::string Describe(const Component& c) {
    const std::string kind = c.set == 'N' ? " digits" : " characters";
    std::string text = c.minLength == c.maxLength ? std::to_string(c.maxLength) + kind : "up to " + std::to_string(c.maxLength) + kind;
    if (c.marks.find('M') != std::string_view::npos) return text + " YYMMDDHHMM";
    if (c.marks.find('H') != std::string_view::npos) return text + " YYMMDDHH";
    if (c.marks.find('D') != std::string_view::npos) return text + " YYMMDD";
    return text;
}

// The fault names the AI: "AI (17): expected 6 digits YYMMDD, got 2012".
Outcome CheckComponent(std::string_view ai, const Component& c, std::string_view part) {
    const std::string wanted = Describe(c);
    const std::string got = part.empty() ? std::string("nothing") : std::string(part);
    const auto fault = [&](const std::string& what) {
        return Refused(Failure::InvalidData, "AI (%.*s): %s", static_cast<int>(ai.size()), ai.data(), what.c_str());
    };
    if (part.size() < c.minLength || part.size() > c.maxLength) return fault("expected " + wanted + ", got " + got);
    if (part.empty()) return {};
    for (char ch : part) {
        const bool ok = c.set == 'N' ? IsDigit(ch) : c.set == 'Y' ? InSet39(ch) : InSet82(ch);
        if (!ok) return fault("character '" + std::string(1, ch) + "' is not allowed (expected " + wanted + ")");
    }
    const bool timed = c.marks.find_first_of("DHM") != std::string_view::npos;
    if (timed && (part.size() < 6 || !IsDateTime(part, c.marks.find('E') != std::string_view::npos))) {
        return fault("expected " + wanted + ", got " + got);
    }
    if (c.marks.find('C') != std::string_view::npos && CheckDigit(part) != part.back() - '0') {
        return fault("check digit " + std::string(1, part.back()) + " is wrong, expected " + std::to_string(CheckDigit(part)));
    }
    return {};
}

// Splits the data into the format's components and checks each.
Outcome CheckData(std::string_view ai, std::string_view format, std::string_view data) {
    while (!format.empty()) {
        const std::size_t plus = format.find('+');
        const Component c = ParseComponent(format.substr(0, plus));
        const bool last = plus == std::string_view::npos;
        const std::size_t take = last ? data.size() : std::min(c.maxLength, data.size());
        const Outcome checked = CheckComponent(ai, c, data.substr(0, take));
        if (!checked.ok()) return checked;
        data.remove_prefix(take);
        format = last ? std::string_view() : format.substr(plus + 1);
    }
    return {};
}

}  // namespace

Outcome AppendGs1Items(std::string_view text, std::vector<std::int32_t>& items) {
    if (text.empty() || (text[0] != '(' && text[0] != '['))
        return Refused(Failure::InvalidData, "a GS1 element string starts with an AI in brackets, like (01)");
    const char open = text[0];
    const char close = open == '(' ? ')' : ']';
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find(close, at);
        if (text[at] != open || end == std::string_view::npos)
            return Refused(Failure::InvalidData, "expected an AI in brackets at byte %zu", at + 1);
        const std::string_view ai = text.substr(at + 1, end - at - 1);
        const int shown = static_cast<int>(std::min<std::size_t>(ai.size(), 200));
        if (ai.size() < 2 || ai.size() > 4 || !AllDigits(ai))
            return Refused(Failure::InvalidData, "'%.*s' is not an AI (2 to 4 digits)", shown, ai.data());
        const Gs1AiFormat* format = FindGs1Ai(ai);
        if (format == nullptr) return Refused(Failure::InvalidData, "AI (%.*s) is unknown", shown, ai.data());
        const std::size_t next = std::min(text.find(open, end), text.size());
        const std::string_view data = text.substr(end + 1, next - end - 1);
        const Outcome checked = CheckData(ai, format->format, data);
        if (!checked.ok()) return checked;
        for (char c : ai) items.push_back(static_cast<unsigned char>(c));
        for (char c : data) items.push_back(static_cast<unsigned char>(c));
        if (next < text.size() && !Gs1AiHasPredefinedLength(ai)) items.push_back(kFnc1Item);
        at = next;
    }
    return {};
}

}  // namespace ecc200
