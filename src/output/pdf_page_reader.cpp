#include "output/pdf_page_reader.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "output/pdf_file.h"

namespace ecc200 {
namespace {

// Reads a number AppendReal or AppendInteger wrote at `at`, up to `end`
// (digits, one optional point, an optional minus sign first).
bool ReadNumber(std::string_view text, std::size_t& at, char end, double& value) {
    const std::size_t stop = text.find(end, at);
    if (stop == std::string_view::npos || stop == at || stop - at > 32) return false;
    const std::string digits(text.substr(at, stop - at));
    if (digits.find_first_not_of("-.0123456789") != std::string::npos) return false;
    char* parsed = nullptr;
    value = std::strtod(digits.c_str(), &parsed);
    at = stop + 1;
    return parsed == digits.c_str() + digits.size();
}

bool Expect(std::string_view text, std::size_t& at, std::string_view what) {
    if (text.substr(at, what.size()) != what) return false;
    at += what.size();
    return true;
}

}  // namespace

bool ReadPdfPage(std::string_view pdf, PdfPage& page) {
    page = PdfPage{};
    // The page object of a one-page document: 3 0 obj without a font, 4 0
    // obj with one; its content stream the next object.
    std::size_t at = pdf.find("/MediaBox [0 0 ");
    if (at == std::string_view::npos) return false;
    at += 15;
    double width = 0;
    double height = 0;
    if (!ReadNumber(pdf, at, ' ', width) || !ReadNumber(pdf, at, ']', height)) return false;
    const bool hasText = Expect(pdf, at, " /Resources << /Font << /F1 3 0 R >> >> /Contents ");
    if (!hasText && !Expect(pdf, at, " /Resources << >> /Contents ")) return false;
    if (!Expect(pdf, at, hasText ? "5 0 R >>\nendobj\n5 0 obj\n<< /Length " : "4 0 R >>\nendobj\n4 0 obj\n<< /Length "))
        return false;
    double length = 0;
    if (!ReadNumber(pdf, at, ' ', length) || !Expect(pdf, at, ">>\nstream\n")) return false;
    if (!(length >= 0 && length <= static_cast<double>(pdf.size() - at))) return false;
    const auto size = static_cast<std::size_t>(length);
    if (pdf.substr(at + size, 10) != "endstream\n") return false;
    // The document must be that page alone: written the same way, it is
    // the same bytes.
    PdfPage read{std::string(pdf.substr(at, size)), width, height, hasText};
    std::string again;
    if (!AppendPdfDocument(again, std::vector<PdfPage>{read}).ok() || again != pdf) return false;
    page = std::move(read);
    return true;
}

}  // namespace ecc200
