#include "output/outputs.h"

#include "driver/render_symbol.h"
#include "output/bmp_file.h"
#include "output/placeable_wmf.h"
#include "platform/drawing_surface.h"

namespace ecc200 {
namespace {

bool PictureIsEmpty(const PictureStyle& style) { return style.width <= 0 || style.height <= 0; }

// One logical unit per pixel, the window covering the picture.
void MapPictureOnto(platform::DeviceContext& dc, const PictureStyle& style) {
    dc.SetWindowExtEx(style.width, style.height);
    dc.SetWindowOrgEx(0, 0);
}

}  // namespace

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const SymbolJob& job, std::int32_t& modulePixels) {
    if (PictureIsEmpty(job.style)) return nullptr;
    std::unique_ptr<platform::EnhMetafileRecorder> recorder = platform::CreateEnhMetafileRecorder();
    if (!recorder) return nullptr;
    recorder->SetMapModeText();
    MapPictureOnto(*recorder, job.style);
    if (!RenderSymbol(job, DrawingTarget{*recorder, 0, 0}, modulePixels)) return nullptr;
    return recorder->Close();
}

bool CopyToClipboard(const SymbolJob& job, std::int32_t& modulePixels) {
    std::unique_ptr<platform::EnhMetafile> metafile = RecordEnhMetafile(job, modulePixels);
    return metafile && platform::PutEnhMetafileOnClipboard(std::move(metafile));
}

bool SaveAsWmf(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels) {
    if (fileName == nullptr || PictureIsEmpty(job.style)) return false;
    if (job.style.width > kMaxPlaceableExtent || job.style.height > kMaxPlaceableExtent) return false;
    const std::vector<std::uint8_t> header =
        PlaceableMetafileHeader(job.style.width, job.style.height, platform::GetScreenMetrics().logPixelsX);
    std::unique_ptr<platform::MetafileRecorder> recorder = platform::CreateMetafileRecorder();
    if (!recorder) return false;
    MapPictureOnto(*recorder, job.style);
    if (!RenderSymbol(job, DrawingTarget{*recorder, 0, 0}, modulePixels)) return false;
    const std::optional<std::vector<std::uint8_t>> bits = recorder->Close();
    if (!bits) return false;
    return platform::ReplaceFileWith(fileName, {{header.data(), header.size()}, {bits->data(), bits->size()}});
}

bool SaveAsBmp(const char* fileName, const SymbolJob& job, std::int32_t& modulePixels) {
    if (fileName == nullptr) return false;
    const std::optional<MonochromeGeometry> geometry = MonochromeGeometryOf(job.style.width, job.style.height);
    if (!geometry) return false;
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(job.style.width, job.style.height);
    if (!bitmap) return false;
    MapPictureOnto(*bitmap, job.style);
    if (!RenderSymbol(job, DrawingTarget{*bitmap, 0, 0}, modulePixels)) return false;
    const std::unique_ptr<MonochromeBmpFile> file =
        CaptureMonochromeBmp(*bitmap, job.style.width, job.style.height, *geometry);
    if (!file) return false;
    return platform::ReplaceFileWith(fileName, file->pieces);
}

}  // namespace ecc200
