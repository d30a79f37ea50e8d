// libFuzzer target: the input is read as a sequence of calls of the nine
// exported functions with any values (NaN, infinities, denormals, the ends
// of the int range, any orientation and frame, messages up to 2500 bytes,
// NULL) and any of a set of paths in a scratch directory (good names, a
// missing directory, the directory itself, a subdirectory, the empty string,
// long names). After every output:
// - a result 1 left a file (or clipboard metafile) that a reader of its
//   format accepts, sized as the picture the settings describe;
// - a result 0 left the old file byte for byte and the clipboard as it was;
// - a request that can only fail (no name, a directory, a missing
//   directory, a name longer than 255 bytes, a WMF wider than 32767 pixels,
//   a BMP beyond 4 GB) gave 0, and a plain request that fits gave 1;
// - the directory holds nothing but the names the calls used.
// Pictures are kept to a few million pixels except where their size alone
// refuses them, so that each input runs in milliseconds.
#include <fuzzer/FuzzedDataProvider.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "api/nine_adapter.h"
#include "ecc200.h"
#include "platform/drawing_surface.h"
#include "support/output_checks.h"

namespace {

void Require(bool condition, const std::string& what) {
    if (condition) return;
    std::fprintf(stderr, "API check failed: %s\n", what.c_str());
    std::abort();
}

// What the header promises: no WMF beyond 32767 pixels a side, no symbol
// beyond 1558 data codewords.
constexpr std::int32_t kMaxWmfExtent = 32767;
constexpr std::int64_t kMaxDataCodewords = 1558;
// Bounds on what the fuzzer draws, for speed alone.
constexpr std::int64_t kMaxBitmapPixels = 4 << 20;
constexpr std::int32_t kMaxMetafileExtent = 32767;
constexpr std::size_t kMaxMessageInput = 2500;
constexpr int kMaxCallsPerInput = 32;

// The scratch directory, its entries and the paths the calls may use.
struct Scratch {
    std::string dir;
    std::set<std::string> allowedEntries;  // names the calls may leave behind
    struct Path {
        std::optional<std::string> path;   // nothing stands for NULL
        bool mustFail;                     // no output can succeed with it
        bool plain;                        // an ordinary name that must work
    };
    std::vector<Path> paths;
};

std::string ScratchDirectory() {
    const char* const bases[] = {"/dev/shm", std::getenv("TMPDIR"), "/tmp"};
    for (const char* base : bases) {
        if (base == nullptr) continue;
        std::string pattern = std::string(base) + "/ecc200-api-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) return pattern;
    }
    std::abort();
}

void RemoveScratch(const std::string& dir) {
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "/" + name;
            if (unlink(path.c_str()) != 0) rmdir(path.c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
}

// Made once and never destroyed, so that the exit handler that removes the
// directory still finds it.
Scratch& TheScratch() {
    static Scratch& scratch = *[] {
        auto* made = new Scratch;
        Scratch& s = *made;
        s.dir = ScratchDirectory();
        mkdir((s.dir + "/subdir").c_str(), 0755);
        const std::string name250(246, 'n');
        const std::string name256(252, 'n');
        s.allowedEntries = {"a.bmp", "b.wmf", "c", "subdir", name250 + ".bmp"};
        s.paths = {{s.dir + "/a.bmp", false, true},
                   {s.dir + "/b.wmf", false, true},
                   {s.dir + "/c", false, true},
                   {std::nullopt, true, false},
                   {std::string(), true, false},
                   {s.dir + "/subdir", true, false},
                   {s.dir, true, false},
                   {s.dir + "/missing/x.bmp", true, false},
                   // Valid on every Linux file system; whether a save may
                   // use it is for the fault tests, not asserted here.
                   {s.dir + "/" + name250 + ".bmp", false, false},
                   {s.dir + "/" + name256 + ".bmp", true, false}};
        std::atexit([] { RemoveScratch(TheScratch().dir); });
        return made;
    }();
    return scratch;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    bytes.resize(got);
    return bytes;
}

void CheckDirectoryEntries(const Scratch& scratch) {
    DIR* d = opendir(scratch.dir.c_str());
    Require(d != nullptr, "scratch directory still there");
    while (const dirent* entry = readdir(d)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        Require(scratch.allowedEntries.count(name) == 1, "unexpected entry left in the directory: " + name);
    }
    closedir(d);
    struct stat st{};
    Require(stat((scratch.dir + "/subdir").c_str(), &st) == 0 && S_ISDIR(st.st_mode), "subdirectory still a directory");
}

// What the settings hold, kept beside the library by the setters' rules.
struct Model {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int64_t messageCodewords = 0;  // ASCII encodation of the stored message
};

std::int64_t AsciiCodewords(const std::string& message) {
    std::int64_t count = 0;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const bool digit = message[i] >= '0' && message[i] <= '9';
        if (digit && i + 1 < message.size() && message[i + 1] >= '0' && message[i + 1] <= '9') {
            ++i;
            ++count;
        } else {
            count += static_cast<unsigned char>(message[i]) > 127 ? 2 : 1;
        }
    }
    return count;
}

int AnyInt(FuzzedDataProvider& in) {
    static constexpr int kEdges[] = {INT_MIN, INT_MIN + 1, -32768, -1, 0, 1, 2, 3, 4, 5, 7, 255, 256,
                                     32767, 32768, 65535, 65536, INT_MAX - 1, INT_MAX};
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: return in.PickValueInArray(kEdges);
        case 1: return in.ConsumeIntegralInRange(-8, 600);
        case 2: return in.ConsumeIntegralInRange(0, 5000);
        default: return in.ConsumeIntegral<int>();
    }
}

double AnyDouble(FuzzedDataProvider& in) {
    static const double kEdges[] = {NAN, -NAN, INFINITY, -INFINITY, 0.0, -0.0, 4.9e-324, DBL_MIN, 1e-46,
                                    FLT_MIN / 2, FLT_MIN, 0.2, 0.02, 1e-3, 2.54, 1e3, 1e9, FLT_MAX, 1e39, DBL_MAX, -0.2};
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: return in.PickValueInArray(kEdges);
        case 1: return in.ConsumeFloatingPointInRange(-1.0, 5.0);
        default: {
            // Any bit pattern: signalling NaNs and denormals included.
            const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
    }
}

void SetMessage(FuzzedDataProvider& in, Model& model) {
    if (in.ConsumeIntegralInRange(0, 15) == 0) {
        DMSetMessage(nullptr);
        model.messageCodewords = 0;
        return;
    }
    std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, kMaxMessageInput));
    if (bytes.size() >= static_cast<std::size_t>(ecc200::kMaxMessageBytes) && in.ConsumeBool()) {
        // Exactly the bytes and no terminator: the setter may read 1999
        // bytes and not one more (AddressSanitizer watches the edge).
        std::vector<char> unterminated(bytes.begin(), bytes.begin() + ecc200::kMaxMessageBytes);
        DMSetMessage(unterminated.data());
    } else {
        DMSetMessage(bytes.c_str());
    }
    std::string stored = bytes.substr(0, std::strlen(bytes.c_str()));
    if (stored.size() > static_cast<std::size_t>(ecc200::kMaxMessageBytes)) stored.resize(ecc200::kMaxMessageBytes);
    model.messageCodewords = AsciiCodewords(stored);
}

void SetSize(Model& model, int width, int height) {
    DMSetSize(width, height);
    model.width = width > 0 ? width : ecc200::kDefaultWidth;
    model.height = height > 0 ? height : ecc200::kDefaultHeight;
}

// ECC200_API_FUZZ_TRACE=1 prints each call, for replaying an input by hand.
void Trace(const std::string& call) {
    static const bool enabled = std::getenv("ECC200_API_FUZZ_TRACE") != nullptr;
    if (enabled) std::fprintf(stderr, "%s\n", call.c_str());
}

enum class Output { Clipboard, Wmf, Bmp };

// Whether the picture's size alone refuses the output at once.
bool RefusedBySize(Output output, const Model& model) {
    if (model.width <= 0 || model.height <= 0) return true;
    if (output == Output::Wmf) return model.width > kMaxWmfExtent || model.height > kMaxWmfExtent;
    if (output == Output::Bmp) {
        const std::uint64_t rowBytes = (static_cast<std::uint64_t>(model.width) + 31) / 32 * 4;
        return rowBytes * static_cast<std::uint64_t>(model.height) + 62 > UINT32_MAX;
    }
    return false;
}

// Shrinks a picture that would take long to draw, with a real call.
void BoundPicture(Output output, Model& model) {
    if (RefusedBySize(output, model)) return;
    const bool tooLarge = output == Output::Bmp
                              ? std::int64_t{model.width} * model.height > kMaxBitmapPixels
                              : model.width > kMaxMetafileExtent || model.height > kMaxMetafileExtent;
    if (tooLarge) SetSize(model, model.width % 2048 + 1, model.height % 2048 + 1);
}

void RunOutput(Output output, const Scratch::Path& target, Model& model) {
    BoundPicture(output, model);
    const bool refused = RefusedBySize(output, model) || model.messageCodewords > kMaxDataCodewords;
    if (output == Output::Clipboard) {
        const auto before = ecc200::platform::GetClipboardEnhMetafileBits();
        const unsigned char result = DMCopyToClipboard();
        Trace("DMCopyToClipboard() = " + std::to_string(result));
        const auto after = ecc200::platform::GetClipboardEnhMetafileBits();
        Require(result == (refused ? 0 : 1), "DMCopyToClipboard result " + std::to_string(result));
        if (result == 0) {
            Require(before == after, "clipboard unchanged after a 0");
        } else {
            Require(after.has_value(), "clipboard holds the metafile");
            const std::string problem = ecc200::test::CheckEnhMetafile(
                std::string_view(reinterpret_cast<const char*>(after->data()), after->size()));
            Require(problem.empty(), "clipboard EMF: " + problem);
        }
        return;
    }
    const char* path = target.path ? target.path->c_str() : nullptr;
    const std::optional<std::string> before = target.path ? ReadWholeFile(*target.path) : std::nullopt;
    const unsigned char result = output == Output::Wmf ? DMSaveAsWMF(path) : DMSaveAsBMP(path);
    const std::string what = std::string(output == Output::Wmf ? "DMSaveAsWMF(" : "DMSaveAsBMP(") +
                             (path ? path : "NULL") + ")";
    Trace(what + " = " + std::to_string(result) + " for " + std::to_string(model.width) + " x " +
          std::to_string(model.height) + ", " + std::to_string(model.messageCodewords) + " codewords");
    if (target.mustFail || refused) Require(result == 0, what + " gave 1");
    if (target.plain && !refused) Require(result == 1, what + " gave 0");
    if (result == 0) {
        Require(!target.path || ReadWholeFile(*target.path) == before, what + ": old file changed by a 0");
        return;
    }
    const std::optional<std::string> file = ReadWholeFile(*target.path);
    Require(file.has_value(), what + ": no file after a 1");
    const std::string problem = output == Output::Wmf ? ecc200::test::CheckPlaceableWmf(*file, model.width, model.height)
                                                      : ecc200::test::CheckBmp(*file, model.width, model.height);
    Require(problem.empty(), what + ": " + problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scratch& scratch = TheScratch();
    FuzzedDataProvider in(data, size);
    // Every input starts from the record as the library is loaded (all
    // zero), so that a failing input replays alone.
    {
        const std::lock_guard<std::mutex> lock(ecc200::ApiMutex());
        ecc200::Settings() = ecc200::DMSettings{};
    }
    Model model;
    for (int call = 0; call < kMaxCallsPerInput && in.remaining_bytes() > 0; ++call) {
        switch (in.ConsumeIntegralInRange(0, 8)) {
            case 0:
                DMSetDefault();
                model = Model{ecc200::kDefaultWidth, ecc200::kDefaultHeight, 1};
                break;
            case 1: {
                const int width = AnyInt(in);
                SetSize(model, width, AnyInt(in));
                break;
            }
            case 2: SetMessage(in, model); break;
            case 3: {
                const double moduleSize = AnyDouble(in);
                const int orientation = AnyInt(in);
                DMSetInfo(moduleSize, orientation, AnyInt(in));
                break;
            }
            case 4: {
                const int red = AnyInt(in), green = AnyInt(in);
                DMSetBackColor(red, green, AnyInt(in));
                break;
            }
            case 5: {
                const int red = AnyInt(in), green = AnyInt(in);
                DMSetBarColor(red, green, AnyInt(in));
                break;
            }
            case 6: RunOutput(Output::Clipboard, scratch.paths.front(), model); break;
            default: {
                const Output output = in.ConsumeBool() ? Output::Wmf : Output::Bmp;
                RunOutput(output, scratch.paths[in.ConsumeIntegralInRange<std::size_t>(0, scratch.paths.size() - 1)], model);
                CheckDirectoryEntries(scratch);
            }
        }
    }
    return 0;
}
