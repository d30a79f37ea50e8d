#include "output/print_drawing.h"

#include "output/print_numbers.h"
#include "output/print_picture.h"

namespace ecc200 {
namespace {

constexpr char kFirstPrintable = 0x20;
constexpr char kLastPrintable = 0x7E;
constexpr std::size_t kBlockLineGuess = 16;  // "12 34 5 1 re\n" and a little

void AppendColour(std::string& out, std::uint32_t rgb) {
    AppendComponent(out, rgb >> 16 & 0xFF);
    out += ' ';
    AppendComponent(out, rgb >> 8 & 0xFF);
    out += ' ';
    AppendComponent(out, rgb & 0xFF);
    out += " rg\n";
}

// A rectangle in picture units as `x y w h re`, y flipped to the page's.
void AppendUnitRect(std::string& out, const PrintPicture& picture, const UnitRect& rect) {
    AppendReal(out, rect.left);
    out += ' ';
    AppendReal(out, picture.height - rect.bottom);
    out += ' ';
    AppendReal(out, rect.right - rect.left);
    out += ' ';
    AppendReal(out, rect.bottom - rect.top);
    out += " re\n";
}

// The grid's cells: one transform puts cell (0, 0) at the grid's corner with
// rows running down the page, then every block is `col row cols rows re`.
void AppendModules(std::string& out, const PrintPicture& picture) {
    if (picture.dark.empty()) return;
    AppendColour(out, picture.bar);
    out += "q ";
    AppendReal(out, picture.cellEdge);
    out += " 0 0 ";
    AppendReal(out, -picture.cellEdge);
    out += ' ';
    AppendReal(out, picture.gridX);
    out += ' ';
    AppendReal(out, picture.height - picture.gridY);
    out += " cm\n";
    out.reserve(out.size() + picture.dark.size() * kBlockLineGuess);
    for (const GridBlock& block : picture.dark) {
        // Four numbers of at most 10 digits, their spaces and " re\n".
        char line[4 * 11 + 4];
        char* at = WriteDigits(line, static_cast<std::uint32_t>(block.col));
        *at++ = ' ';
        at = WriteDigits(at, static_cast<std::uint32_t>(block.row));
        *at++ = ' ';
        at = WriteDigits(at, static_cast<std::uint32_t>(block.colEnd - block.col));
        *at++ = ' ';
        at = WriteDigits(at, static_cast<std::uint32_t>(block.rowEnd - block.row));
        out.append(line, static_cast<std::size_t>(at - line));
        out += " re\n";
    }
    out += "f Q\n";
}

void AppendFrame(std::string& out, const PrintPicture& picture) {
    if (picture.frame.empty()) return;
    AppendColour(out, picture.frameColour);
    for (const UnitRect& rect : picture.frame) AppendUnitRect(out, picture, rect);
    out += "f\n";
}

// A string literal: the backslash, and the parentheses, escaped (ISO
// 32000-1 7.3.4.2; PostScript's strings read alike).
void AppendLiteral(std::string& out, const std::string& text) {
    out += '(';
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    out += ')';
}

// Courier's glyphs are all 600/1000 em wide, so the line starts half its
// width left of the centre.
void AppendText(std::string& out, const PrintPicture& picture) {
    if (picture.text.empty()) return;
    AppendColour(out, picture.bar);
    for (const PrintText& line : picture.text) {
        const double width = 0.6 * line.emSize * static_cast<double>(line.text.size());
        out += "BT /F1 ";
        AppendReal(out, line.emSize);
        out += " Tf ";
        AppendReal(out, line.centreX - width / 2);
        out += ' ';
        AppendReal(out, picture.height - line.baseline);
        out += " Td ";
        AppendLiteral(out, line.text);
        out += " Tj ET\n";
    }
}

bool Positive(double value) {
    return value > 0 && PrintNumberFits(value);
}

bool TextPrintable(const std::string& text) {
    for (const char c : text)
        if (c < kFirstPrintable || c > kLastPrintable) return false;
    return true;
}

}  // namespace

double PageWidthPoints(const PrintPicture& picture) {
    return picture.width * picture.pointsPerUnit;
}

double PageHeightPoints(const PrintPicture& picture) {
    return picture.height * picture.pointsPerUnit;
}

bool PrintPictureWritable(const PrintPicture& picture) {
    if (!Positive(picture.width) || !Positive(picture.height) || !Positive(picture.pointsPerUnit) ||
        !Positive(PageWidthPoints(picture)) || !Positive(PageHeightPoints(picture)))
        return false;
    if (!PrintNumberFits(picture.gridX) || !PrintNumberFits(picture.gridY) || !PrintNumberFits(picture.cellEdge))
        return false;
    for (const PrintText& line : picture.text)
        if (!TextPrintable(line.text) || !Positive(line.emSize) || !PrintNumberFits(line.centreX) ||
            !PrintNumberFits(line.baseline))
            return false;
    for (const GridBlock& block : picture.dark)
        if (block.row < 0 || block.col < 0 || block.rowEnd <= block.row || block.colEnd <= block.col) return false;
    for (const UnitRect& rect : picture.frame)
        if (!PrintNumberFits(rect.left) || !PrintNumberFits(rect.top) || !PrintNumberFits(rect.right) ||
            !PrintNumberFits(rect.bottom))
            return false;
    return picture.background <= 0xFFFFFF && picture.bar <= 0xFFFFFF && picture.frameColour <= 0xFFFFFF;
}

void AppendPrintDrawing(std::string& out, const PrintPicture& picture) {
    out += "q ";
    AppendReal(out, picture.pointsPerUnit);
    out += " 0 0 ";
    AppendReal(out, picture.pointsPerUnit);
    out += " 0 0 cm\n";
    AppendColour(out, picture.background);
    out += "0 0 ";
    AppendReal(out, picture.width);
    out += ' ';
    AppendReal(out, picture.height);
    out += " re f\n";
    AppendModules(out, picture);
    AppendFrame(out, picture);
    AppendText(out, picture);
    out += "Q\n";
}

}  // namespace ecc200
