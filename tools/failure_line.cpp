#include "failure_line.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <system_error>

namespace ecc200::tool {
namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr double kTolerableShrink = 0.9;  // a module drawn up to 10 % below the size asked passes unremarked
constexpr double kZplModuleTolerance = 0.05;  // a ZPL module within 5 % of the size asked, either way

std::string Where(const std::string& path) { return path == "-" ? "standard output" : path; }

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

std::string Number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// The picture fitted to the symbol: --size left out, and with it cropping.
Picture Fitted(const Picture& picture, int quietZone) {
    Picture fitted = picture;
    fitted.width = fitted.height = 0;
    fitted.quiet_zone = quietZone;
    fitted.allow_crop = false;
    return fitted;
}

// A --size that cuts the symbol: the symbol's own pixels (the picture the
// library fits to it without quiet zone) and the size that holds it with
// its quiet zone (the library's diagnostic).
std::string CroppedLine(const Error& error, OutputFormat format, const PictureJob& job) {
    std::error_code failed;
    const Layout symbol = layout(job.symbol, Fitted(job.picture, 0), LibraryFormat(format), failed);
    if (failed || error.needed_width() == 0) return FailureLine(error);
    return "the symbol needs " + SizeText(symbol.width, symbol.height) + " pixels; --size " +
           SizeText(job.picture.width, job.picture.height) + " cuts it (--size " +
           SizeText(error.needed_width(), error.needed_height()) +
           " fits it with its quiet zone; --allow-crop draws it cut)";
}

}  // namespace

std::string FailureLine(const Error& error) {
    // what() without the status text std::system_error adds to it.
    std::string text = error.what();
    const std::string added = ": " + error.code().message();
    const bool suffixed = text.size() > added.size() && text.compare(text.size() - added.size(), added.size(), added) == 0;
    if (suffixed) text.erase(text.size() - added.size());
    return text;
}

std::string PictureFailureLine(const Error& error, OutputFormat format, const std::string& path, const PictureJob& job) {
    switch (static_cast<Status>(error.code().value())) {
        case Status::symbol_cropped: return CroppedLine(error, format, job);
        case Status::file_error:
            // errno values on every system (ecc200.h), as the tool's own.
            if (error.system_error() != 0)
                return "cannot write " + Where(path) + ": " + std::generic_category().message(error.system_error());
            return "cannot write " + Where(path);
        default: return FailureLine(error);
    }
}

std::string OutOfMemoryLine(const PictureJob& job, OutputFormat format) {
    std::error_code failed;
    const Layout laid = layout(job.symbol, job.picture, LibraryFormat(format), failed);
    if (failed) return "out of memory";
    return "out of memory for a " + std::to_string(laid.width) + " x " + std::to_string(laid.height) + " picture";
}

std::string ModuleShrunkWarning(const Picture& picture, const Layout& laid) {
    if (picture.module_px != 0 || laid.dpi <= 0) return "";
    const double drawn = laid.module_px * kCentimetresPerInch / laid.dpi;
    if (drawn >= kTolerableShrink * picture.module_cm) return "";
    char percent[16];
    std::snprintf(percent, sizeof percent, "%.0f", 100 * (1 - drawn / picture.module_cm));
    return "warning: modules of " + Number(picture.module_cm) + " cm are drawn as " + std::to_string(laid.module_px) +
           (laid.module_px == 1 ? " pixel" : " pixels") + " at " + std::to_string(laid.dpi) + " dpi, " + Number(drawn) +
           " cm (" + percent + " % smaller); --module-px N sets the pixels, --dpi N the resolution";
}

std::string ZplModuleWarning(const Picture& picture, const Layout& laid) {
    if (picture.module_px != 0 || laid.dpi <= 0) return "";
    const double asked = picture.module_cm * 10;  // mm
    const double drawn = laid.module_px * kCentimetresPerInch * 10 / laid.dpi;
    if (std::fabs(drawn - asked) <= kZplModuleTolerance * asked) return "";
    char line[200];
    std::snprintf(line, sizeof line,
                  "warning: ZPL modules of %.3g mm (%.2f dots at %d dpi) are printed as %d %s, %.3g mm (%+.0f %%); "
                  "--module-px N sets the dots, --dpi N the printer's resolution",
                  asked, asked / 10 / kCentimetresPerInch * laid.dpi, laid.dpi, laid.module_px,
                  laid.module_px == 1 ? "dot" : "dots", drawn, 100 * (drawn / asked - 1));
    return line;
}

}  // namespace ecc200::tool
