// Saving a file on Windows without ever losing the old one: the pieces go to
// a new temporary file beside the target, which then replaces the target in
// one MoveFileExA. Any failure deletes the temporary file and leaves the
// target as it was.
#include <algorithm>
#include <string>

#include "platform/windows/gdi_drawing.h"

namespace ecc200::platform {
namespace {

// WriteFile takes at most a DWORD of bytes at a time; 1 GiB pieces keep each
// call well inside that.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

// A name already taken by a stale temporary file is skipped; this many are
// tried before giving up.
constexpr unsigned kNameAttempts = 16;

// The target's own name with a suffix: the temporary file lies in the same
// directory, hence on the same volume, which a replacing rename needs.
std::string TemporaryNameFor(const char* path, unsigned attempt) {
    return std::string(path) + ".~" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(attempt) + ".tmp";
}

HANDLE CreateTemporaryFile(const char* path, std::string& name) {
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = TemporaryNameFor(path, attempt);
        const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::vector<ByteSpan>& pieces) {
    for (const ByteSpan& piece : pieces) {
        const std::uint8_t* next = piece.data;
        std::size_t left = piece.size;
        while (left > 0) {
            const auto chunk = static_cast<DWORD>(std::min(left, kLargestWrite));
            DWORD written = 0;
            if (!::WriteFile(file, next, chunk, &written, nullptr) || written != chunk) {
                return false;
            }
            next += chunk;
            left -= chunk;
        }
    }
    return true;
}

}  // namespace

bool ReplaceFileWith(const char* path, const std::vector<ByteSpan>& pieces) {
    if (path == nullptr) {
        return false;
    }
    std::string temporary;
    const HANDLE file = CreateTemporaryFile(path, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = WriteAll(file, pieces);
    const bool closed = ::CloseHandle(file) != 0;
    if (written && closed &&
        ::MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    ::DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace ecc200::platform
