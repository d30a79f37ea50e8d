#include "output/outputs.h"

#include "api/render_symbol.h"
#include "api/settings.h"
#include "output/bmp_file.h"
#include "output/placeable_wmf.h"
#include "platform/drawing_surface.h"

namespace ecc200 {
namespace {

bool PictureIsEmpty(const DMSettings& settings) { return settings.width <= 0 || settings.height <= 0; }

// One logical unit per pixel, the window covering the picture.
void MapPictureOnto(platform::DeviceContext& dc, const DMSettings& settings) {
    dc.SetWindowExtEx(settings.width, settings.height);
    dc.SetWindowOrgEx(0, 0);
}

}  // namespace

std::unique_ptr<platform::EnhMetafile> RecordEnhMetafile(const DMSettings& settings, std::int32_t& modulePixels) {
    if (PictureIsEmpty(settings)) return nullptr;
    std::unique_ptr<platform::EnhMetafileRecorder> recorder = platform::CreateEnhMetafileRecorder();
    if (!recorder) return nullptr;
    recorder->SetMapModeText();
    MapPictureOnto(*recorder, settings);
    if (!RenderSymbol(settings, DrawingTarget{*recorder, 0, 0}, modulePixels)) return nullptr;
    return recorder->Close();
}

bool CopyToClipboard(const DMSettings& settings, std::int32_t& modulePixels) {
    std::unique_ptr<platform::EnhMetafile> metafile = RecordEnhMetafile(settings, modulePixels);
    return metafile && platform::PutEnhMetafileOnClipboard(std::move(metafile));
}

bool SaveAsWmf(const char* fileName, const DMSettings& settings, std::int32_t& modulePixels) {
    if (fileName == nullptr || PictureIsEmpty(settings)) return false;
    if (settings.width > kMaxPlaceableExtent || settings.height > kMaxPlaceableExtent) return false;
    const std::vector<std::uint8_t> header =
        PlaceableMetafileHeader(settings.width, settings.height, platform::GetScreenMetrics().logPixelsX);
    std::unique_ptr<platform::MetafileRecorder> recorder = platform::CreateMetafileRecorder();
    if (!recorder) return false;
    MapPictureOnto(*recorder, settings);
    if (!RenderSymbol(settings, DrawingTarget{*recorder, 0, 0}, modulePixels)) return false;
    const std::optional<std::vector<std::uint8_t>> bits = recorder->Close();
    if (!bits) return false;
    return platform::ReplaceFileWith(fileName, {{header.data(), header.size()}, {bits->data(), bits->size()}});
}

bool SaveAsBmp(const char* fileName, const DMSettings& settings, std::int32_t& modulePixels) {
    if (fileName == nullptr) return false;
    const std::optional<MonochromeGeometry> geometry = MonochromeGeometryOf(settings.width, settings.height);
    if (!geometry) return false;
    std::unique_ptr<platform::BitmapContext> bitmap = platform::CreateBitmapContext(settings.width, settings.height);
    if (!bitmap) return false;
    MapPictureOnto(*bitmap, settings);
    if (!RenderSymbol(settings, DrawingTarget{*bitmap, 0, 0}, modulePixels)) return false;
    const std::unique_ptr<platform::FixedBlock> block =
        CaptureMonochromeDib(*bitmap, settings.width, settings.height, *geometry);
    if (!block) return false;
    const std::vector<std::uint8_t> fileHeader = BitmapFileHeader(*geometry);
    return platform::ReplaceFileWith(fileName, {{fileHeader.data(), fileHeader.size()}, {block->data(), block->size()}});
}

}  // namespace ecc200
