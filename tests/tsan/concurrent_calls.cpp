// Eight threads make a thousand overlapping calls each of the nine exported
// functions and of the ecc200_* functions side by side: setters with a few
// values each, outputs to files of their own and shared with the others, in
// a scratch directory, and pictures rendered into memory. Built under
// ThreadSanitizer (the tsan preset), which must report nothing. Every
// output with the result 1 must have produced, byte for byte, one of the
// pictures a single thread renders for some thread's message and settings
// (so it is complete and holds one of the messages): the ecc200_* calls, given
// the same settings as values, draw the same bytes. The directory must
// hold nothing but the names used.
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ecc200.h"
#include "platform/drawing_surface.h"
#include "support/temp_dir.h"

namespace {

constexpr int kThreads = 8;
constexpr int kCallsPerThread = 1000;

// The values the setters choose from; every combination is rendered once
// beforehand. DMSetDefault restores the first of each.
struct Size { int width, height; };
struct Info { double moduleSize; int orientation, border; };
const Size kSizes[] = {{500, 300}, {97, 131}};
const Info kInfos[] = {{0.2, 0, 0}, {0.05, 1, 1}};

std::string MessageOf(int thread) {
    if (thread < 0) return "12";  // the default message
    return "thread " + std::to_string(thread) + std::string(static_cast<std::size_t>(thread) * 7, 'a' + thread);
}

enum Format { kBmp, kWmf, kEmf };

std::string ClipboardBytes() {
    const auto bits = ecc200::platform::GetClipboardEnhMetafileBits();
    return bits ? std::string(bits->begin(), bits->end()) : std::string();
}

// What a single thread draws for every message and setting combination.
std::map<Format, std::set<std::string>> RenderExpected(const ecc200::test::TempDir& dir) {
    std::map<Format, std::set<std::string>> expected;
    const std::string bmp = dir.file("reference.bmp"), wmf = dir.file("reference.wmf");
    for (int thread = -1; thread < kThreads; ++thread) {
        for (const Size& size : kSizes) {
            for (const Info& info : kInfos) {
                DMSetMessage(MessageOf(thread).c_str());
                DMSetSize(size.width, size.height);
                DMSetInfo(info.moduleSize, info.orientation, info.border);
                if (!DMSaveAsBMP(bmp.c_str()) || !DMSaveAsWMF(wmf.c_str()) || !DMCopyToClipboard()) return {};
                expected[kBmp].insert(ecc200::test::ReadFileBytes(bmp));
                expected[kWmf].insert(ecc200::test::ReadFileBytes(wmf));
                expected[kEmf].insert(ClipboardBytes());
            }
        }
    }
    std::filesystem::remove(bmp);
    std::filesystem::remove(wmf);
    DMSetDefault();
    return expected;
}

struct Failures {
    std::atomic<int> count{0};
    void Add(const std::string& what) {
        if (count++ < 10) std::fprintf(stderr, "%s\n", what.c_str());
    }
};

// The nine's settings as an ecc200_picture (the default colours, as the
// setters below choose them).
ecc200_picture PictureOf(const Size& size, const Info& info) {
    ecc200_picture picture;
    ecc200_picture_init(&picture);
    picture.width = size.width;
    picture.height = size.height;
    picture.module_cm = info.moduleSize;
    picture.quarter_turns = info.orientation;
    picture.border = info.border;
    picture.allow_crop = 1;
    return picture;
}

// One call of the per-call interface: the thread's message in one of the
// formats, into memory, to a file or to the clipboard.
std::pair<bool, std::string> CallPerCallInterface(ecc200_symbol* symbol, const ecc200_picture& picture, Format format,
                                                  const std::string* fileName) {
    if (fileName != nullptr) {
        const ecc200_format fileFormat = format == kBmp ? ECC200_FORMAT_BMP : ECC200_FORMAT_WMF;
        const bool saved = ecc200_save(symbol, &picture, fileFormat, fileName->c_str(), nullptr) == ECC200_OK;
        return {saved, ecc200::test::ReadFileBytes(*fileName)};
    }
    if (format == kEmf && ecc200_copy_to_clipboard(symbol, &picture, nullptr) == ECC200_OK) {
        return {true, ClipboardBytes()};
    }
    std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    const ecc200_format memoryFormat = format == kBmp ? ECC200_FORMAT_BMP : format == kWmf ? ECC200_FORMAT_WMF : ECC200_FORMAT_EMF;
    const bool rendered = ecc200_render_alloc(symbol, &picture, memoryFormat, &bytes, &size, nullptr) == ECC200_OK;
    std::string result = rendered ? std::string(bytes, bytes + size) : std::string();
    ecc200_free(bytes);
    return {rendered, result};
}

void RunThread(int thread, const ecc200::test::TempDir& dir, const std::map<Format, std::set<std::string>>& expected,
               Failures& failures, std::atomic<int>& outputs) {
    std::mt19937 random(static_cast<unsigned>(thread) * 7919u + 1u);
    const std::string message = MessageOf(thread);
    // Two names of this thread's own, two shared by all.
    const std::string bmpNames[] = {dir.file("thread" + std::to_string(thread) + ".bmp"), dir.file("shared.bmp")};
    const std::string wmfNames[] = {dir.file("thread" + std::to_string(thread) + ".wmf"), dir.file("shared.wmf")};
    // ASCII, as the nine encode, so that both interfaces draw the same pictures.
    ecc200_encode_options ascii;
    ecc200_encode_options_init(&ascii);
    ascii.encodation = ECC200_ENCODATION_ASCII;
    ecc200_symbol* symbol = nullptr;
    if (ecc200_encode(message.data(), message.size(), &ascii, &symbol, nullptr) != ECC200_OK) {
        failures.Add("thread " + std::to_string(thread) + ": ecc200_encode failed");
        return;
    }
    for (int call = 0; call < kCallsPerThread; ++call) {
        const int pick = static_cast<int>(random() % 2);
        const auto check = [&](unsigned char result, Format format, const std::string& bytes, const std::string& name) {
            ++outputs;
            if (result != 1) {
                failures.Add("thread " + std::to_string(thread) + ": " + name + " gave 0");
            } else if (expected.at(format).count(bytes) == 0) {
                failures.Add("thread " + std::to_string(thread) + ": " + name + " holds no single-thread rendering");
            }
        };
        switch (random() % 13) {
            case 0: DMSetDefault(); break;
            case 1: DMSetSize(kSizes[pick].width, kSizes[pick].height); break;
            case 2: DMSetMessage(message.c_str()); break;
            case 3: DMSetInfo(kInfos[pick].moduleSize, kInfos[pick].orientation, kInfos[pick].border); break;
            case 4: DMSetBackColor(255, 255, 255); break;
            case 5: DMSetBarColor(0, 0, 0); break;
            case 6: {
                // Another thread may put its own metafile there in between;
                // whichever is read must be one of the renderings.
                const unsigned char result = DMCopyToClipboard();
                check(result, kEmf, ClipboardBytes(), "clipboard");
                break;
            }
            case 7: {
                const std::string& name = bmpNames[pick];
                const unsigned char result = DMSaveAsBMP(name.c_str());
                check(result, kBmp, ecc200::test::ReadFileBytes(name), name);
                break;
            }
            case 8: {
                const std::string& name = wmfNames[pick];
                const unsigned char result = DMSaveAsWMF(name.c_str());
                check(result, kWmf, ecc200::test::ReadFileBytes(name), name);
                break;
            }
            default: {
                // The per-call interface: its own settings, no lock.
                const auto format = static_cast<Format>(random() % 3);
                const bool toFile = format != kEmf && random() % 2 == 0;
                const std::string* name = toFile ? &(format == kBmp ? bmpNames : wmfNames)[pick] : nullptr;
                const ecc200_picture picture = PictureOf(kSizes[random() % 2], kInfos[random() % 2]);
                const auto [ok, bytes] = CallPerCallInterface(symbol, picture, format, name);
                check(ok ? 1 : 0, format, bytes, name != nullptr ? *name : "ecc200_* in memory");
            }
        }
    }
    ecc200_symbol_free(symbol);
}

}  // namespace

int main() {
    const ecc200::test::TempDir dir;
    DMSetDefault();
    const std::map<Format, std::set<std::string>> expected = RenderExpected(dir);
    if (expected.empty()) {
        std::fprintf(stderr, "the single-thread renderings failed\n");
        return 1;
    }
    Failures failures;
    std::atomic<int> outputs{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back(RunThread, thread, std::cref(dir), std::cref(expected), std::ref(failures),
                             std::ref(outputs));
    }
    for (std::thread& t : threads) t.join();

    std::set<std::string> allowed = {"shared.bmp", "shared.wmf"};
    for (int thread = 0; thread < kThreads; ++thread) {
        allowed.insert("thread" + std::to_string(thread) + ".bmp");
        allowed.insert("thread" + std::to_string(thread) + ".wmf");
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.file(""))) {
        const std::string name = entry.path().filename().string();
        if (allowed.count(name) == 0) failures.Add("left in the directory: " + name);
    }
    std::printf("%d threads x %d calls: %d outputs checked against %zu renderings, %d failures\n", kThreads,
                kCallsPerThread, outputs.load(), expected.at(kBmp).size() + expected.at(kWmf).size() + expected.at(kEmf).size(),
                failures.count.load());
    return failures.count == 0 ? 0 : 1;
}
