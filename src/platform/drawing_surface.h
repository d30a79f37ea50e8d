// The narrow platform layer: the GDI, USER and KERNEL operations that the
// drawing and the outputs use, one to one. The Windows backend passes each
// call straight to the real operation; the portable backend reproduces what
// real GDI does with it (screen metrics, memory bitmaps and their one-bit
// conversion, Windows and enhanced metafile recording, the clipboard, files).
//
// Nothing outside src/platform/ sees a platform header.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "common/failure.h"

namespace ecc200::platform {

using ColourRef = std::uint32_t;  // COLORREF: 0x00BBGGRR

// A GDI rectangle: left and top included, right and bottom excluded.
struct PixelRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct ByteSpan;  // a byte range to write, below

// An opaque solid brush created by a device context (HBRUSH on Windows).
struct Brush {
    std::uintptr_t value = 0;
};

// A device context to draw on. Coordinates are logical units, which every
// output maps one to one onto pixels.
class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // CreateSolidBrush and DeleteObject. Creating a brush records nothing; a
    // metafile records it when it is first used.
    virtual Brush CreateSolidBrush(ColourRef colour) = 0;
    virtual void DeleteBrush(Brush brush) = 0;

    // FillRect: fills left <= x < right, top <= y < bottom with the brush
    // without selecting it into the context.
    // It is PatBlt(left, top, right - left, bottom - top), so a reversed
    // rectangle fills from right + 1 to left + 1 on each reversed axis. A
    // brush that does not exist (deleted, or never created) cannot be
    // selected: the blit then uses the brush the context holds, the stock
    // white brush (measured under Wine).
    virtual void FillRect(const PixelRect& rect, Brush brush) = 0;

    // FillRect of each of the `count` rectangles, in order, with one brush:
    // what the drawing calls for the dark modules of one symbol row. A
    // surface may do it faster than one call at a time (the portable bitmap
    // fills a band of rows shared by all the rectangles row by row); a
    // metafile still records one blit per rectangle, as GDI does.
    virtual void FillRects(const PixelRect* rects, std::size_t count, Brush brush) {
        for (std::size_t i = 0; i < count; ++i) FillRect(rects[i], brush);
    }

    // MoveToEx (the previous position is not kept) and LineTo with the
    // context's default pen: solid black, one pixel, end point excluded.
    virtual void MoveToEx(std::int32_t x, std::int32_t y) = 0;
    virtual void LineTo(std::int32_t x, std::int32_t y) = 0;

    // SetMapMode(MM_TEXT), SetWindowExtEx and SetWindowOrgEx; the previous
    // values are not kept.
    virtual void SetMapModeText() = 0;
    virtual void SetWindowExtEx(std::int32_t width, std::int32_t height) = 0;
    virtual void SetWindowOrgEx(std::int32_t x, std::int32_t y) = 0;
};

// GetDC(NULL), GetDeviceCaps and ReleaseDC: what the screen reports.
struct ScreenMetrics {
    std::int32_t logPixelsX;  // LOGPIXELSX
    std::int32_t logPixelsY;  // LOGPIXELSY
    std::int32_t horzRes;     // HORZRES, pixels
    std::int32_t vertRes;     // VERTRES
    std::int32_t horzSize;    // HORZSIZE, millimetres
    std::int32_t vertSize;    // VERTSIZE
};
ScreenMetrics GetScreenMetrics();

// An enhanced metafile held in memory (HENHMETAFILE). Deleted with the
// object unless handed to the clipboard.
class EnhMetafile {
public:
    virtual ~EnhMetafile() = default;
    virtual std::vector<std::uint8_t> GetBits() const = 0;  // GetEnhMetaFileBits
};

// CreateEnhMetaFileA(NULL, NULL, NULL, NULL): reference device the screen,
// frame worked out from what was drawn.
//
// The recording describes the picture at `referenceDpi`: at 0 or the
// screen's own resolution it is GDI's recording as it is; at any other its header
// refers to a 1024 x 768 screen of that resolution (emf_records.h's
// ScreenAt), the frame worked out from it, as GDI's on such a screen.
class EnhMetafileRecorder : public DeviceContext {
public:
    virtual std::unique_ptr<EnhMetafile> Close() = 0;  // CloseEnhMetaFile

    // Makes room, before drawing, for a recording of `bytes` bytes; false
    // when that memory cannot be had. GDI keeps its recordings itself: there
    // is nothing to make room for.
    virtual bool Reserve(std::uint64_t bytes) {
        static_cast<void>(bytes);
        return true;
    }
};
std::unique_ptr<EnhMetafileRecorder> CreateEnhMetafileRecorder(std::int32_t referenceDpi = 0);  // null on failure

// CreateMetaFileA(NULL). Close() runs CloseMetaFile, GetMetaFileBitsEx and
// DeleteMetaFile and returns the metafile's bits (its own header and
// records), or nothing on failure.
class MetafileRecorder : public DeviceContext {
public:
    virtual std::optional<std::vector<std::uint8_t>> Close() = 0;
};
std::unique_ptr<MetafileRecorder> CreateMetafileRecorder();  // null on failure

// CreateCompatibleDC(screen) with CreateCompatibleBitmap(screen, W, H)
// selected into it: a fresh bitmap is black.
class BitmapContext : public DeviceContext {
public:
    // GetDIBits(..., 0, H, block + 48, block, DIB_RGB_COLORS) to one bit per
    // pixel. `block` starts with the 40-byte BITMAPINFOHEADER the caller
    // wrote (W, H, 1 plane, 1 bit, BI_RGB, image size); the conversion fills
    // the two-entry colour table at offset 40 (black, then white) and the
    // bottom-up rows at offset 48, each padded with 0 bits to 4 bytes. A
    // pixel becomes white exactly when r + g + b >= 383.
    virtual void GetMonochromeDIBits(std::uint8_t* block) = 0;

    // What GetMonochromeDIBits writes behind the header (the colour table,
    // then the bottom-up rows), appended to `pieces` as spans of the
    // context's own memory, without a copy (the portable bitmap keeps its
    // rows so): valid while the context lives and draws nothing more. False, appending nothing, on a backend that
    // cannot hand its pixels out so (Windows: GetMonochromeDIBits it is).
    virtual bool AppendMonochromeDib(std::vector<ByteSpan>& pieces) {
        static_cast<void>(pieces);
        return false;
    }

    // Makes the context what CreateBitmapContext(width, height) makes (a
    // fresh black bitmap, no brushes, the default origin and position),
    // reusing its memory. False, changing nothing, where the backend does
    // not reuse its bitmaps (Windows) or the new one needs more than the
    // memory it was made with: the caller then creates one.
    virtual bool Reset(std::int32_t width, std::int32_t height) {
        static_cast<void>(width);
        static_cast<void>(height);
        return false;
    }
};
std::unique_ptr<BitmapContext> CreateBitmapContext(std::int32_t width, std::int32_t height);  // null on failure

// GlobalAlloc(GMEM_FIXED): a fixed block of memory, or null when it cannot
// be had.
class FixedBlock {
public:
    virtual ~FixedBlock() = default;
    virtual std::uint8_t* data() = 0;
    virtual std::size_t size() const = 0;
};
std::unique_ptr<FixedBlock> AllocateFixedBlock(std::size_t bytes);

// OpenClipboard(NULL), EmptyClipboard, SetClipboardData(CF_ENHMETAFILE),
// CloseClipboard. The clipboard owns the metafile on success; when the
// clipboard cannot be opened the metafile is deleted, the clipboard keeps
// what it held and the result is false.
bool PutEnhMetafileOnClipboard(std::unique_ptr<EnhMetafile> metafile);

// GetClipboardData(CF_ENHMETAFILE): the bits of the enhanced metafile on the
// clipboard, if there is one.
std::optional<std::vector<std::uint8_t>> GetClipboardEnhMetafileBits();

// A byte range to write.
struct ByteSpan {
    const std::uint8_t* data;
    std::size_t size;
};

// How ReplaceFileWith makes its file durable. deferFlush: a batch writer
// skips the per-file flush and calls FlushFileSystemOf once at the end;
// flushOwed, when given, is set to true by a save that skipped a flush
// (an existing file replaced), so that a batch of new files needs none.
struct SaveOptions {
    bool deferFlush = false;
    bool* flushOwed = nullptr;
};

// Saves the pieces, in order, under `path`, without ever losing the old file:
// - a symbolic link is followed to the file it finally names, which is
//   replaced (a dangling link creates it); the link stays a link;
// - a regular file is replaced whole by a new file renamed over it, keeping
//   its permission bits and, where the caller may set them, its owner and
//   group; a new file gets 0666 less the umask. The replaced name gets the
//   new file: other hard links keep the old content;
// - a file without any write permission bit (read-only) is not replaced;
// - a device or FIFO is written in place;
// - an existing file's new content is flushed before the rename and its
//   directory after it, unless options.deferFlush; a new file is not flushed.
// No temporary file is left behind, even by a killed process (portable
// backend on Linux). FileError, systemError the errno value of the cause
// (EACCES, ENOSPC, ENOENT, EISDIR, ...), any old file as it was, when
// anything fails; written in place, saved only when every byte was written.
Outcome ReplaceFileWith(const char* path, const std::vector<ByteSpan>& pieces, const SaveOptions& options = {});

// Flushes the file system holding `path` (syncfs on Linux; nothing where the
// platform has no such call): the one flush after a batch of deferred saves.
// FileError with the errno value when it fails.
Outcome FlushFileSystemOf(const char* path);

// What a call that reports through errno made: FileError with errno's value
// when it failed.
inline Outcome FileOutcome(bool succeeded) { return succeeded ? Outcome{} : Failed(Failure::FileError, errno); }

}  // namespace ecc200::platform
