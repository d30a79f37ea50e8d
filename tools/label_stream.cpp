#include "label_stream.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "system_io.h"

namespace ecc200::tool {

LabelStream::LabelStream(std::string path, std::string replaced, std::string temporary, std::FILE* file,
                         std::size_t lines)
    : path_(std::move(path)),
      replaced_(std::move(replaced)),
      temporary_(std::move(temporary)),
      file_(file),
      labels_(lines),
      finished_(lines, false) {}

LabelStream::LabelStream(LabelStream&& other) noexcept
    : path_(std::move(other.path_)),
      replaced_(std::move(other.replaced_)),
      temporary_(std::move(other.temporary_)),
      file_(std::exchange(other.file_, nullptr)),
      labels_(std::move(other.labels_)),
      finished_(std::move(other.finished_)),
      next_(other.next_),
      writeError_(other.writeError_) {}

// A stream never closed leaves the file as it was.
LabelStream::~LabelStream() {
    if (file_ == nullptr || file_ == stdout) return;
    std::fclose(file_);
    if (!temporary_.empty()) std::remove(temporary_.c_str());
}

std::optional<LabelStream> LabelStream::Open(const std::string& path, std::size_t lines) {
    if (path == "-") return LabelStream(path, std::string(), std::string(), stdout, lines);
    const std::optional<std::string> replaced = ReplaceableFile(path);
    if (!replaced) {
        // A printer's device or a pipe takes the labels as they come.
        std::FILE* device = std::fopen(path.c_str(), "wb");
        if (device == nullptr) return std::nullopt;
        return LabelStream(path, std::string(), std::string(), device, lines);
    }
    std::string temporary;
    std::FILE* file = CreateFileBeside(*replaced, temporary);
    if (file == nullptr) return std::nullopt;
    return LabelStream(path, *replaced, std::move(temporary), file, lines);
}

void LabelStream::Finish(std::size_t index, std::vector<std::uint8_t> label) {
    const std::lock_guard<std::mutex> lock(mutex_);
    labels_[index] = std::move(label);
    finished_[index] = true;
    for (; next_ < finished_.size() && finished_[next_]; ++next_) {
        std::vector<std::uint8_t>& ready = labels_[next_];
        errno = 0;
        if (writeError_ == 0 && !ready.empty() && std::fwrite(ready.data(), 1, ready.size(), file_) != ready.size())
            writeError_ = errno != 0 ? errno : EIO;
        std::vector<std::uint8_t>().swap(ready);
    }
}

std::optional<std::string> LabelStream::Close() {
    errno = 0;
    const bool flushed = std::fflush(file_) == 0;
    if (!flushed && writeError_ == 0) writeError_ = errno != 0 ? errno : EIO;
    if (file_ != stdout) {
        if (std::fclose(file_) != 0 && writeError_ == 0) writeError_ = errno != 0 ? errno : EIO;
        errno = 0;
        if (!temporary_.empty() && writeError_ == 0 && !RenameOver(temporary_, replaced_))
            writeError_ = errno != 0 ? errno : EIO;
        if (!temporary_.empty() && writeError_ != 0) std::remove(temporary_.c_str());
    }
    file_ = nullptr;
    if (writeError_ == 0) return std::nullopt;
    return "cannot write " + (path_ == "-" ? std::string("standard output") : path_) + ": " + std::strerror(writeError_);
}

}  // namespace ecc200::tool
