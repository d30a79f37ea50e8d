// A page back out of a one-page PDF this library wrote (output/pdf_file.h),
// so that pages drawn apart, on any thread and through the public
// interface, become one document: the batch's labels in one file. Only our
// own layout is read, and read strictly: anything else is refused.
#pragma once

#include <string_view>

namespace ecc200 {

struct PdfPage;

// Fills `page` from `pdf` and returns true when `pdf` is exactly a one-page
// document as AppendPdfDocument writes it; false otherwise (`page` empty).
bool ReadPdfPage(std::string_view pdf, PdfPage& page);

}  // namespace ecc200
