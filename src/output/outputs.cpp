#include "output/outputs.h"

#include <cerrno>
#include <cstdint>
#include <new>

#include "driver/render_symbol.h"
#include "encoder/module_matrix.h"
#include "output/bmp_file.h"
#include "output/emf_recording_size.h"
#include "output/placeable_wmf.h"

namespace ecc200 {
namespace {

bool Fail(int error) {
    errno = error;
    return false;
}

bool PictureIsEmpty(const PictureStyle& style) { return style.width <= 0 || style.height <= 0; }

// One logical unit per pixel, the window covering the picture.
void MapPictureOnto(platform::DeviceContext& dc, const PictureStyle& style) {
    dc.SetWindowExtEx(style.width, style.height);
    dc.SetWindowOrgEx(0, 0);
}

// Runs an output, turning memory that cannot be had into false with ENOMEM.
template <typename Output>
auto ReportingExhaustedMemory(Output output) -> decltype(output()) {
    try {
        return output();
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return {};
    }
}

std::uint64_t DarkModulesOf(const SymbolMatrix& symbol) {
    std::uint64_t dark = 0;
    for (int row = 0; row < symbol.side(); ++row) {
        for (int col = 0; col < symbol.side(); ++col) dark += symbol.isDark(row, col) ? 1 : 0;
    }
    return dark;
}

// The size of the picture's recording, in bytes, or 0 when the message is
// too long. Every picture the largest symbol, all dark, would keep within
// the format is taken without encoding; near the limit the symbol itself
// decides.
std::uint64_t EnhMetafileBytes(const SymbolJob& job) {
    constexpr std::uint64_t kMostDarkModules = std::uint64_t{kMaxSymbolSide} * kMaxSymbolSide;
    const RecordingSize largest = EnhMetafileRecordingSize(job.style, kMostDarkModules);
    if (largest.bytes <= UINT32_MAX) return largest.bytes;
    const RecordingSize smallest = EnhMetafileRecordingSize(job.style, 0);
    if (smallest.bytes > UINT32_MAX) return smallest.bytes;
    const SymbolMatrix* symbol = BuildJobSymbol(job.message);
    if (symbol == nullptr) return 0;
    return EnhMetafileRecordingSize(job.style, DarkModulesOf(*symbol)).bytes;
}

std::unique_ptr<platform::EnhMetafile> NoMetafile(int error) {
    errno = error;
    return nullptr;
}

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafileOf(const SymbolJob& job, std::int32_t& modulePixels) {
    if (PictureIsEmpty(job.style)) return NoMetafile(EINVAL);
    const std::uint64_t bytes = EnhMetafileBytes(job);
    if (bytes == 0) return NoMetafile(E2BIG);
    if (bytes > UINT32_MAX) return NoMetafile(EFBIG);  // nBytes is 32 bits
    std::unique_ptr<platform::EnhMetafileRecorder> recorder = platform::CreateEnhMetafileRecorder();
    if (!recorder || !recorder->Reserve(bytes)) return NoMetafile(ENOMEM);
    recorder->SetMapModeText();
    MapPictureOnto(*recorder, job.style);
    if (!RenderSymbol(job, DrawingTarget{*recorder, 0, 0}, modulePixels)) return NoMetafile(E2BIG);
    std::unique_ptr<platform::EnhMetafile> metafile = recorder->Close();
    if (!metafile) errno = ENOMEM;
    return metafile;
}

// The placeable header's 16-bit box bounds the picture, and with it the
// recording: at most 20736 module blits and a frame of 32767-pixel sides,
// far inside the metafile's 32-bit size in words.
bool SaveAsWmfFile(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
                   const platform::SaveOptions& options) {
    if (fileName == nullptr || PictureIsEmpty(job.style)) return Fail(EINVAL);
    if (job.style.width > kMaxPlaceableExtent || job.style.height > kMaxPlaceableExtent) return Fail(EFBIG);
    const std::vector<std::uint8_t> header =
        PlaceableMetafileHeader(job.style.width, job.style.height, platform::GetScreenMetrics().logPixelsX);
    std::unique_ptr<platform::MetafileRecorder> recorder = platform::CreateMetafileRecorder();
    if (!recorder) return Fail(ENOMEM);
    MapPictureOnto(*recorder, job.style);
    if (!RenderSymbol(job, DrawingTarget{*recorder, 0, 0}, modulePixels)) return Fail(E2BIG);
    const std::optional<std::vector<std::uint8_t>> bits = recorder->Close();
    if (!bits) return Fail(ENOMEM);
    return platform::ReplaceFileWith(fileName, {{header.data(), header.size()}, {bits->data(), bits->size()}},
                                     options);
}

bool SaveAsBmpFile(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
                   const platform::SaveOptions& options) {
    if (fileName == nullptr || PictureIsEmpty(job.style)) return Fail(EINVAL);
    const std::optional<MonochromeGeometry> geometry = MonochromeGeometryOf(job.style.width, job.style.height);
    if (!geometry) return Fail(EFBIG);
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(job.style.width, job.style.height);
    if (!bitmap) return Fail(ENOMEM);
    MapPictureOnto(*bitmap, job.style);
    if (!RenderSymbol(job, DrawingTarget{*bitmap, 0, 0}, modulePixels)) return Fail(E2BIG);
    const std::unique_ptr<MonochromeBmpFile> file =
        CaptureMonochromeBmp(*bitmap, job.style.width, job.style.height, *geometry);
    if (!file) return Fail(ENOMEM);
    return platform::ReplaceFileWith(fileName, file->pieces, options);
}

}  // namespace

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels) {
    return ReportingExhaustedMemory([&] { return RecordEnhMetafileOf(job, modulePixels); });
}

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels) {
    std::unique_ptr<platform::EnhMetafile> metafile = RecordEnhMetafile(job, modulePixels);
    if (!metafile) return false;
    return platform::PutEnhMetafileOnClipboard(std::move(metafile)) || Fail(EBUSY);
}

bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options) {
    return ReportingExhaustedMemory([&] { return SaveAsWmfFile(fileName, job, modulePixels, options); });
}

bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels,
               const platform::SaveOptions& options) {
    return ReportingExhaustedMemory([&] { return SaveAsBmpFile(fileName, job, modulePixels, options); });
}

}  // namespace ecc200
