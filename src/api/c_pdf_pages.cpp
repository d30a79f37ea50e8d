// ecc200_save_pdf_pages: one-page PDFs drawn apart (any number of threads
// calling ecc200_render) saved as one document, the batch's labels in one
// file.
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "api/diagnosis.h"
#include "output/pdf_file.h"
#include "output/pdf_page_reader.h"
#include "output/picture_bytes.h"
#include "output/picture_delivery.h"

namespace ecc200 {
namespace {

Outcome SavePdfPages(const std::uint8_t* const* pages, const std::size_t* sizes, std::size_t count, const char* path,
                     Diagnosis& diagnosis) {
    if (pages == nullptr || sizes == nullptr || path == nullptr)
        return diagnosis.Refuse(Failure::InvalidArgument, "no pages, sizes or file name");
    if (count == 0) return diagnosis.Refuse(Failure::InvalidArgument, "a PDF document needs a page");
    std::vector<PdfPage> read(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view pdf(reinterpret_cast<const char*>(pages[i]), pages[i] != nullptr ? sizes[i] : 0);
        if (!ReadPdfPage(pdf, read[i]))
            return diagnosis.Refuse(Failure::InvalidArgument, "page %zu is not a one-page PDF of ecc200_render", i + 1);
    }
    PictureBytes document;
    if (const Outcome joined = AppendPdfDocument(document.text, read); !joined.ok()) {
        diagnosis.outcome = joined;
        return diagnosis.Refuse(joined.failure, "%s", joined.message.c_str());
    }
    document.pieces.assign(1, {reinterpret_cast<const std::uint8_t*>(document.text.data()), document.text.size()});
    diagnosis.outcome = SaveToFile(path, document);
    if (diagnosis.outcome.ok()) return {};
    return diagnosis.Refuse(Failure::FileError, "%s: %s", path, std::strerror(diagnosis.outcome.systemError));
}

}  // namespace
}  // namespace ecc200

ECC200_API ecc200_status ECC200_CALL ecc200_save_pdf_pages(const uint8_t* const* pages, const size_t* sizes,
                                                           size_t count, const char* path,
                                                           ecc200_diagnostic* diagnostic) {
    ecc200::Diagnosis diagnosis;
    if (!ecc200::DiagnosticIsUsable(diagnostic)) {
        diagnosis.Refuse(ecc200::Failure::InvalidArgument, "the diagnostic's struct_size is below the first release's");
        return ecc200::Conclude(diagnosis.outcome, nullptr);
    }
    try {
        diagnosis.outcome = ecc200::SavePdfPages(pages, sizes, count, path, diagnosis);
    } catch (const std::bad_alloc&) {
        diagnosis.Refuse(ecc200::Failure::OutOfMemory, "memory for the document cannot be had");
    }
    return ecc200::Conclude(diagnosis.outcome, diagnostic);
}
