#include "output/pdf_file.h"

#include <cstddef>
#include <cstdint>
#include <new>

#include "output/print_drawing.h"
#include "output/print_numbers.h"
#include "output/print_picture.h"

namespace ecc200 {
namespace {

// ISO 32000-1 Annex C.2: the largest page, in default user space units.
constexpr double kLargestPageSide = 14400;
// ISO 32000-1 7.5.2: a comment of four bytes above 127 right after the
// header tells file transfer programs the file is binary.
constexpr char kHeader[] = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
// ISO 32000-1 7.5.4: every cross-reference entry is exactly 20 bytes.
constexpr std::size_t kXrefEntryLength = 20;
// Its offsets have ten digits.
constexpr std::uint64_t kLargestOffset = 9999999999;

// Object numbers: 1 the catalogue, 2 the page tree, 3 the font when any page
// has text, then each page followed by its content stream.
struct ObjectNumbers {
    int firstPage;
    int count;  // objects, the free object 0 included
};

ObjectNumbers NumbersOf(const std::vector<PdfPage>& pages, bool font) {
    const int firstPage = font ? 4 : 3;
    return {firstPage, firstPage + 2 * static_cast<int>(pages.size())};
}

class PdfWriter {
public:
    explicit PdfWriter(std::string& out) : out_(out), start_(out.size()) {}

    void BeginObject(int number) {
        if (offsets_.size() <= static_cast<std::size_t>(number)) offsets_.resize(static_cast<std::size_t>(number) + 1);
        offsets_[static_cast<std::size_t>(number)] = out_.size() - start_;
        AppendInteger(out_, number);
        out_ += " 0 obj\n";
    }
    void EndObject() { out_ += "endobj\n"; }
    void Reference(int number) {
        AppendInteger(out_, number);
        out_ += " 0 R";
    }

    // ISO 32000-1 7.5.4 and 7.5.5: the table of every object's offset, then
    // the trailer pointing at the catalogue and at the table.
    void Finish(int count) {
        const std::size_t table = out_.size() - start_;
        out_ += "xref\n0 ";
        AppendInteger(out_, count);
        out_ += "\n0000000000 65535 f \n";
        for (int number = 1; number < count; ++number) {
            char entry[kXrefEntryLength + 1] = "0000000000 00000 n \n";
            std::size_t offset = offsets_[static_cast<std::size_t>(number)];
            for (int digit = 9; digit >= 0; --digit, offset /= 10) entry[digit] = static_cast<char>('0' + offset % 10);
            out_.append(entry, kXrefEntryLength);
        }
        out_ += "trailer\n<< /Size ";
        AppendInteger(out_, count);
        out_ += " /Root 1 0 R >>\nstartxref\n";
        AppendInteger(out_, static_cast<std::int64_t>(table));
        out_ += "\n%%EOF\n";
    }

    std::string& out() { return out_; }

private:
    std::string& out_;
    std::size_t start_;
    std::vector<std::size_t> offsets_;
};

void AppendCatalogue(PdfWriter& pdf, const std::vector<PdfPage>& pages, const ObjectNumbers& numbers) {
    pdf.BeginObject(1);
    pdf.out() += "<< /Type /Catalog /Pages 2 0 R >>\n";
    pdf.EndObject();
    pdf.BeginObject(2);
    pdf.out() += "<< /Type /Pages /Kids [";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pdf.out() += i == 0 ? "" : " ";
        pdf.Reference(numbers.firstPage + 2 * static_cast<int>(i));
    }
    pdf.out() += "] /Count ";
    AppendInteger(pdf.out(), static_cast<std::int64_t>(pages.size()));
    pdf.out() += " >>\n";
    pdf.EndObject();
}

// ISO 32000-1 9.6.2.2: a standard Type 1 font is named, not embedded;
// WinAnsiEncoding maps printable ASCII as ASCII.
void AppendFont(PdfWriter& pdf) {
    pdf.BeginObject(3);
    pdf.out() += "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>\n";
    pdf.EndObject();
}

void AppendPage(PdfWriter& pdf, const PdfPage& page, int number) {
    pdf.BeginObject(number);
    pdf.out() += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    AppendReal(pdf.out(), page.widthPoints);
    pdf.out() += ' ';
    AppendReal(pdf.out(), page.heightPoints);
    pdf.out() += page.hasText ? "] /Resources << /Font << /F1 3 0 R >> >> /Contents " : "] /Resources << >> /Contents ";
    pdf.Reference(number + 1);
    pdf.out() += " >>\n";
    pdf.EndObject();
    pdf.BeginObject(number + 1);
    pdf.out() += "<< /Length ";
    AppendInteger(pdf.out(), static_cast<std::int64_t>(page.content.size()));
    pdf.out() += " >>\nstream\n";
    pdf.out() += page.content;
    pdf.out() += "endstream\n";
    pdf.EndObject();
}

}  // namespace

Outcome DrawPdfPage(const PrintPicture& picture, PdfPage& page) {
    page = PdfPage{};
    if (!PrintPictureWritable(picture)) return Refused(Failure::PictureTooLarge, "the picture has no PDF page");
    if (PageWidthPoints(picture) > kLargestPageSide || PageHeightPoints(picture) > kLargestPageSide)
        return Refused(Failure::PictureTooLarge, "a %.0f x %.0f-point page is past PDF's 14400 points (5.08 m) a side",
                       PageWidthPoints(picture), PageHeightPoints(picture));
    try {
        AppendPrintDrawing(page.content, picture);
    } catch (const std::bad_alloc&) {
        page = PdfPage{};
        return Failed(Failure::OutOfMemory);
    }
    page.widthPoints = PageWidthPoints(picture);
    page.heightPoints = PageHeightPoints(picture);
    page.hasText = !picture.text.empty();
    return {};
}

Outcome AppendPdfDocument(std::string& out, const std::vector<PdfPage>& pages) {
    if (pages.empty()) return Refused(Failure::InvalidArgument, "a PDF document needs a page");
    bool font = false;
    for (const PdfPage& page : pages) font = font || page.hasText;
    const ObjectNumbers numbers = NumbersOf(pages, font);
    const std::size_t originalSize = out.size();
    try {
        PdfWriter pdf(out);
        out += kHeader;
        AppendCatalogue(pdf, pages, numbers);
        if (font) AppendFont(pdf);
        for (std::size_t i = 0; i < pages.size(); ++i)
            AppendPage(pdf, pages[i], numbers.firstPage + 2 * static_cast<int>(i));
        if (static_cast<std::uint64_t>(out.size() - originalSize) > kLargestOffset) {
            out.resize(originalSize);
            return Refused(Failure::PictureTooLarge, "a PDF of more than 9999999999 bytes has no cross-reference table");
        }
        pdf.Finish(numbers.count);
        return {};
    } catch (const std::bad_alloc&) {
        out.resize(originalSize);
        return Failed(Failure::OutOfMemory);
    }
}

Outcome AppendPdfFile(std::string& out, const PrintPicture& picture) {
    try {
        std::vector<PdfPage> pages(1);
        if (Outcome drawn = DrawPdfPage(picture, pages[0]); !drawn.ok()) return drawn;
        return AppendPdfDocument(out, pages);
    } catch (const std::bad_alloc&) {
        return Failed(Failure::OutOfMemory);
    }
}

}  // namespace ecc200
