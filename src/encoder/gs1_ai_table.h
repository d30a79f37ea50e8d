// The GS1 Application Identifiers the encoder checks, as data: each AI's
// data format in the notation of the GS1 system standard, section 3
// ("N6", "X..20", "N3+N..15"), with the marks the checks need.
//
// Format notation: components separated by '+'; N digits, X the GS1 AI
// encodable character set 82, Y the character set 39 (digits, upper case,
// '#', '-', '/'); "N14" exactly 14, "X..20" 1 to 20, "N..6" 1 to 6, and a
// component marked "?" may be empty (only last). Marks after a numeric
// component: C its last digit is a GS1 mod-10 check digit; D a date YYMMDD
// (day 00 allowed when the AI allows it, E); H YYMMDDHH; M YYMMDDHHMM.
#pragma once

#include <string_view>

namespace ecc200 {

struct Gs1AiFormat {
    std::string_view ai;      // the AI's digits; 'n' matches any digit (310n)
    std::string_view format;  // as above
};

// Looks an AI up (2 to 4 digits); nullptr when the table does not hold it.
const Gs1AiFormat* FindGs1Ai(std::string_view ai);

// GS1 system standard, figure 5.10.1-2 ("predefined length"): the
// AIs starting with these two digits have a fixed length, so no FNC1
// separator follows their data.
bool Gs1AiHasPredefinedLength(std::string_view ai);

}  // namespace ecc200
