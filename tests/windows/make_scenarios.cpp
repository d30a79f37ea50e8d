// make_scenarios FILE [SEAMLESS-DIR DPI]...: writes the conformance scenario
// list (the format is described in scenario_player.h), and for each
// directory and dpi given the seamless WMF and EMF of every scenario whose
// settings it knows whole (NAME.wmf, NAME.emf), drawn by the library's
// seamless writers as the screen at that dpi would lay them out, for the
// playback check to hold against the scenario's BMP. The list is the same on every run: the
// "random" scenarios come from a fixed linear congruential sequence.
//
// Every scenario sets what it needs and then asks for outputs that all share
// the same settings, so that a checker may compare a scenario's WMF and EMF
// with its BMP. The exceptions are deliberate sequences (a failed save that
// must keep the old file, a module size of 0.0 that reuses the previous
// pixel size), which carry on from the scenario before.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "api/nine_adapter.h"
#include "driver/render_symbol.h"
#include "encoder/module_matrix.h"
#include "output/seamless_emf.h"
#include "output/seamless_wmf.h"
#include "render/layout.h"
#include "render/picture_geometry.h"

namespace {

// The 24 square sizes of ISO/IEC 16022 and their data capacities in
// codewords; a message of that many single-codeword characters selects the
// size exactly.
constexpr std::array<int, 24> kSides = {10, 12, 14, 16, 18, 20, 22, 24, 26, 32, 36, 40,
                                        44, 48, 52, 64, 72, 80, 88, 96, 104, 120, 132, 144};
constexpr std::array<int, 24> kCapacities = {3,   5,   8,   12,  18,  22,  30,  36,   44,   62,   86,   114,
                                             144, 174, 204, 280, 368, 456, 576, 696, 816, 1050, 1304, 1558};

struct Rgb {
    int red;
    int green;
    int blue;
};

struct Settings {
    int width = 500;
    int height = 300;
    std::string message = "12";
    double moduleSize = 0.2;
    int orientation = 0;
    int border = 0;
    Rgb bar{0, 0, 0};
    Rgb back{255, 255, 255};
};

// Park and Miller's minimal standard generator: small, and the same
// everywhere.
class Sequence {
public:
    std::uint32_t Next() {
        state_ = static_cast<std::uint32_t>(std::uint64_t{state_} * 48271 % 2147483647);
        return state_;
    }
    int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(limit)); }

private:
    std::uint32_t state_ = 20240607;
};

std::string Hex(const std::string& bytes) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::string DoubleBits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[17];
    std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(bits));
    return text;
}

std::string Colour(const char* command, const Rgb& colour) {
    return std::string(command) + " " + std::to_string(colour.red) + " " + std::to_string(colour.green) + " " +
           std::to_string(colour.blue);
}

// `length` characters that are one codeword each (no digits, no bytes above
// 127), varied so that neighbouring symbols differ.
std::string SingleCodewordText(int length, Sequence& sequence) {
    std::string text;
    while (static_cast<int>(text.size()) < length) {
        const char c = static_cast<char>(33 + sequence.Below(94));
        if (c < '0' || c > '9') text += c;
    }
    return text;
}

// Called with a scenario's name and settings where it asks for all outputs
// with settings made whole by Set (and Message) alone.
using OutputsHook = std::function<void(const std::string& name, const Settings& settings)>;

class ScenarioList {
public:
    explicit ScenarioList(std::ostream& out, OutputsHook hook = {}) : out_(out), hook_(std::move(hook)) {}

    // Starts a scenario; the returned name is also the stem of its files.
    std::string Begin(const std::string& tag) {
        std::string number = std::to_string(count_++);
        if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
        const std::string name = number + "-" + tag;
        out_ << "scenario " << name << "\n";
        current_.reset();
        return name;
    }

    // Any line but a note may change the settings in ways not followed here.
    void Line(const std::string& line) {
        out_ << line << "\n";
        if (line.rfind("note ", 0) != 0) current_.reset();
    }

    void Set(const Settings& s) {
        Line("size " + std::to_string(s.width) + " " + std::to_string(s.height));
        Message(s.message);
        Line("info " + DoubleBits(s.moduleSize) + " " + std::to_string(s.orientation) + " " + std::to_string(s.border));
        Line(Colour("bar", s.bar));
        Line(Colour("back", s.back));
        current_ = s;
    }

    void Message(const std::string& bytes) {
        std::optional<Settings> kept = current_;
        Line(bytes.empty() ? "message" : "message " + Hex(bytes));
        if (kept) kept->message = bytes;
        current_ = kept;
    }

    void AllOutputs(const std::string& name) {
        std::optional<Settings> kept = current_;
        Line("bmp " + name + ".bmp");
        Line("wmf " + name + ".wmf");
        Line("clip " + name + ".emf");
        current_ = kept;
        if (current_ && hook_) hook_(name, *current_);
    }

    // A whole scenario: its settings, then the three outputs.
    void Full(const std::string& tag, const Settings& s) {
        const std::string name = Begin(tag);
        Set(s);
        AllOutputs(name);
    }

    int count() const { return count_; }

private:
    std::ostream& out_;
    OutputsHook hook_;
    std::optional<Settings> current_;  // the settings, while they are known whole
    int count_ = 0;
};

// Before any setter every setting is zero: a 0 x 0 picture. Then a picture
// size and a message but no module size: 0.0, which reuses the pixel size of
// the previous drawing, 0 after loading.
void SettingsNeverMade(ScenarioList& list) {
    list.AllOutputs(list.Begin("nothing-set"));
    const std::string name = list.Begin("module-size-never-set");
    list.Line("size 120 90");
    list.Message("Hello");
    list.AllOutputs(name);
}

// Each of the 24 sizes, chosen by a message that just fills it, with the
// turns, frames and module sizes varied along the way.
void AllSizes(ScenarioList& list, Sequence& sequence) {
    constexpr std::array<double, 4> kModules = {0.1, 0.2, 0.05, 0.15};
    for (int i = 0; i < 24; ++i) {
        Settings s;
        s.message = SingleCodewordText(kCapacities[i], sequence);
        s.moduleSize = kModules[i % 4];
        s.orientation = i % 4;
        s.border = i % 3;
        const int symbolPixels = kSides[i] * static_cast<int>(96 * s.moduleSize / 2.54);
        s.width = symbolPixels + 40 + 7 * i;
        s.height = symbolPixels + 20 + 3 * i;
        list.Full("size" + std::to_string(kSides[i]), s);
    }
    // One capacity too many moves to the next size.
    for (const int i : {0, 9, 22}) {
        Settings s;
        s.message = SingleCodewordText(kCapacities[i] + 1, sequence);
        s.moduleSize = 0.05;
        s.width = 800;
        s.height = 800;
        list.Full("over-size" + std::to_string(kSides[i]), s);
    }
}

// Every turn with every frame on pictures with even and odd free space, and
// the small pictures whose dashed frames have their own shapes.
void TurnsAndFrames(ScenarioList& list) {
    constexpr std::array<std::array<int, 2>, 6> kPictures = {{{500, 300}, {501, 301}, {20, 12}, {17, 9}, {8, 5}, {51, 51}}};
    for (const auto& picture : kPictures) {
        for (int orientation = 0; orientation < 4; ++orientation) {
            for (int border = 0; border < 3; ++border) {
                Settings s;
                s.width = picture[0];
                s.height = picture[1];
                s.message = "Ab1";
                s.orientation = orientation;
                s.border = border;
                list.Full("turn" + std::to_string(orientation) + "-frame" + std::to_string(border) + "-" +
                              std::to_string(s.width) + "x" + std::to_string(s.height),
                          s);
            }
        }
    }
}

// Colours around the one-bit rule (white exactly when r + g + b >= 383):
// sums of 382 and 383, primaries, greys, and components out of range.
void Colours(ScenarioList& list) {
    const std::vector<std::array<Rgb, 2>> kPairs = {
        {{{127, 128, 127}, {128, 128, 127}}},  // 382 on 383
        {{{128, 127, 128}, {127, 127, 128}}},  // 383 on 382
        {{{127, 127, 127}, {128, 128, 128}}},
        {{{128, 128, 128}, {127, 127, 127}}},
        {{{255, 0, 0}, {255, 255, 0}}},
        {{{0, 255, 0}, {255, 0, 255}}},
        {{{0, 0, 255}, {0, 255, 255}}},
        {{{200, 100, 50}, {192, 192, 192}}},
        {{{255, 128, 0}, {0, 0, 0}}},
        {{{220, 0, 220}, {200, 200, 0}}},
        {{{0, 0, 0}, {0, 0, 0}}},
        {{{255, 255, 255}, {255, 255, 255}}},
        {{{255, 255, 255}, {0, 0, 0}}},
        {{{-1, 128, 64}, {255, 0, 256}}},
        {{{300, -300, 255}, {1000, 1000, 1000}}},
        {{{1, 2, 3}, {254, 253, 252}}},
        {{{0, 127, 255}, {255, 127, 1}}},
        {{{255, 127, 0}, {0, 128, 255}}},
        {{{126, 128, 128}, {129, 127, 127}}},
        {{{100, 100, 182}, {100, 100, 183}}},
    };
    int index = 0;
    for (const auto& pair : kPairs) {
        Settings s;
        s.bar = pair[0];
        s.back = pair[1];
        s.width = 160 + index;
        s.height = 120 + 2 * index;
        s.message = "Colour " + std::to_string(index);
        s.orientation = index % 4;
        s.border = index % 3;
        list.Full("colour" + std::to_string(index++), s);
    }
}

// Pictures from one pixel to large; the sizes the formats cannot hold give
// 0 for that output only (a WMF above 32767 pixels, a BMP above 32 bits).
void PictureSizes(ScenarioList& list) {
    constexpr std::array<std::array<int, 2>, 22> kPictures = {{
        {1, 1},     {1, 2},     {2, 1},       {2, 2},      {7, 7},     {31, 9},    {32, 32},   {33, 33},
        {63, 1},    {1, 63},    {64, 64},     {65, 3},     {100, 1000}, {1000, 100}, {1500, 1200}, {3000, 2000},
        {32767, 9}, {32768, 9}, {9, 32768},   {0, -5},     {-3, 7},    {200000, 200000},
    }};
    int index = 0;
    for (const auto& picture : kPictures) {
        Settings s;
        s.width = picture[0];
        s.height = picture[1];
        s.message = "Picture size " + std::to_string(index);
        s.orientation = index % 4;
        s.border = (index + 1) % 3;
        s.moduleSize = index % 2 == 0 ? 0.2 : 0.05;
        list.Full("picture" + std::to_string(picture[0]) + "x" + std::to_string(picture[1]), s);
        ++index;
    }
}

// Module sizes below one pixel (P = 0: background and frame only), around
// one pixel, and large ones that push the symbol beyond the picture.
void ModuleSizes(ScenarioList& list) {
    struct Case {
        const char* tag;
        double moduleSize;
        int width;
        int height;
    };
    constexpr std::array<Case, 12> kCases = {{
        {"p0", 0.02, 60, 40},
        {"p0-small", 0.001, 30, 30},
        {"p1-edge", 0.026458334, 60, 40},
        {"p1", 0.03, 60, 40},
        {"p95", 2.54, 1200, 1100},
        {"p75-order", 1.984375, 900, 800},
        {"p-wide", 0.7, 300, 200},
        {"p-huge", 10.0, 400, 400},
        {"float-max", 1e30, 200, 100},
        {"float-inf", 1e300, 200, 100},
        {"negative", -1.0, 200, 100},
        {"nan", std::numeric_limits<double>::quiet_NaN(), 200, 100},
    }};
    int index = 0;
    for (const Case& c : kCases) {
        for (int border = 0; border < 3; ++border) {
            Settings s;
            s.moduleSize = c.moduleSize;
            s.width = c.width;
            s.height = c.height;
            s.message = "Module " + std::to_string(index);
            s.orientation = (index + border) % 4;
            s.border = border;
            const std::string name = list.Begin(std::string(c.tag) + "-frame" + std::to_string(border));
            list.Set(s);
            // A module size too large for 32-bit coordinates is clamped; the
            // modules then lie far beyond what the formats hold: a WMF
            // keeps 16 bits of each coordinate, and GDI's EMF frame
            // (bound x 100 x millimetres) wraps around 32 bits. Players see
            // the truncated values, so the pictures differ from the BMP.
            if (c.moduleSize >= 1e30) {
                list.Line("note wmf-coordinates-beyond-16-bits");
                list.Line("note emf-frame-beyond-32-bits");
            }
            list.AllOutputs(name);
        }
        ++index;
    }
}

// Pictures smaller than the symbol: negative offsets, the symbol clipped.
void NegativeOffsets(ScenarioList& list, Sequence& sequence) {
    constexpr std::array<std::array<int, 3>, 8> kCases = {{
        {51, 51, 0}, {10, 10, 8}, {1, 1, 3}, {60, 20, 5}, {20, 60, 10}, {99, 37, 23}, {37, 99, 15}, {5, 300, 2},
    }};
    int index = 0;
    for (const auto& c : kCases) {
        Settings s;
        s.width = c[0];
        s.height = c[1];
        s.message = SingleCodewordText(kCapacities[static_cast<std::size_t>(c[2])], sequence);
        s.orientation = index % 4;
        s.border = index % 3;
        list.Full("negative-offset" + std::to_string(index++), s);
    }
}

// A module size of exactly 0.0 (1e-50 is stored as 0.0 in single
// precision) keeps the pixel size of the previous drawing, whichever output
// made it; a failed output draws nothing and changes nothing.
void ModuleSizeZero(ScenarioList& list) {
    Settings s;
    s.moduleSize = 0.5;
    s.width = 400;
    s.height = 300;
    s.message = "Reuse";
    std::string name = list.Begin("zero-first");
    list.Set(s);
    list.Line("bmp " + name + ".bmp");

    s.moduleSize = 1e-50;
    s.orientation = 1;
    s.border = 2;
    list.Full("zero-reuses-bmp", s);

    s.moduleSize = 0.11;
    name = list.Begin("zero-clip-first");
    list.Set(s);
    list.Line("clip " + name + ".emf");
    s.moduleSize = 0.0;
    s.orientation = 3;
    list.Full("zero-reuses-clip", s);

    s.moduleSize = 0.3;
    name = list.Begin("zero-wmf-first");
    list.Set(s);
    list.Line("wmf " + name + ".wmf");
    s.moduleSize = 1e-50;
    s.orientation = 2;
    s.border = 1;
    s.message = std::string(1600, 'A');  // too long: draws nothing
    list.Full("zero-too-long", s);
    s.message = "After";
    list.Full("zero-after-failure", s);
}

// Bytes 128 to 255 (Upper Shift pairs), every byte value, an embedded zero
// byte, the empty and the null message.
void Messages(ScenarioList& list) {
    std::string high;
    for (int byte = 128; byte < 256; ++byte) high += static_cast<char>(byte);
    std::string every;
    for (int byte = 1; byte < 256; ++byte) every += static_cast<char>(byte);
    const std::vector<std::pair<const char*, std::string>> kMessages = {
        {"bytes128to255", high},
        {"byte255", "\xFF"},
        {"byte128", "\x80"},
        {"latin", "\xE9t\xE9 \xE0 \xD6sterreich"},
        {"digits-and-high", "12\xC4" "34\xE4" "56"},
        {"every-byte", every},
        {"high-run", std::string(200, '\xE9')},
        {"empty", ""},
        {"digits", "0123456789012345678901234567890123456789"},
        {"odd-digits", "123456789"},
    };
    int index = 0;
    for (const auto& [tag, bytes] : kMessages) {
        Settings s;
        s.message = bytes;
        s.moduleSize = 0.1;
        s.width = 420;
        s.height = 400;
        s.orientation = index % 4;
        s.border = index % 3;
        list.Full(std::string("message-") + tag, s);
        ++index;
    }
    Settings s;
    s.moduleSize = 0.1;
    const std::string name = list.Begin("message-zero-byte");
    list.Set(s);
    list.Line("message 41420043");
    list.AllOutputs(name);
    const std::string nullName = list.Begin("message-null");
    list.Set(s);
    list.Line("message-null");
    list.AllOutputs(nullName);
}

// Messages at and beyond the largest symbol's 1558 codewords, strings cut at
// 1999 bytes, and a failed save that must leave the old file alone.
void LongMessages(ScenarioList& list) {
    struct Case {
        const char* tag;
        const char* patternHex;
        int count;
    };
    constexpr std::array<Case, 7> kCases = {{
        {"fills-144", "41", 1558},
        {"too-long-text", "41", 1559},
        {"too-long-high", "E9", 780},
        {"cut-digits", "31", 2500},
        {"longest-digits", "39", 1999},
        {"too-long-1999", "61", 1999},
        {"too-long-mixed", "41E93132", 1400},
    }};
    for (const Case& c : kCases) {
        Settings s;
        s.moduleSize = 0.05;
        s.width = 600;
        s.height = 560;
        const std::string name = list.Begin(c.tag);
        list.Set(s);
        list.Line(std::string("message-fill ") + c.patternHex + " " + std::to_string(c.count));
        list.AllOutputs(name);
    }

    Settings s;
    s.message = "Keep me";
    const std::string name = list.Begin("keep-old-files");
    list.Set(s);
    list.AllOutputs(name);
    list.Line("message-fill 41 1559");
    list.AllOutputs(name);
}

// Files that cannot be written: a missing directory, a directory in the way,
// the empty name and the null pointer.
void UnwritablePaths(ScenarioList& list) {
    const std::string name = list.Begin("unwritable");
    list.Set(Settings{});
    list.Line("mkdir in-the-way");
    for (const char* path : {"no-such-dir/x", "in-the-way", "EMPTY", "NULL"}) {
        list.Line(std::string("bmp ") + path);
        list.Line(std::string("wmf ") + path);
    }
    list.Line("bmp in-the-way/inside.bmp");
    list.Line("wmf in-the-way/inside.wmf");
    list.Line("clip " + name + ".emf");
}

// A read-only file (no write bit; Windows' read-only attribute) is never
// replaced: the second save of each file returns 0 and the first picture
// stays.
void ReadOnlyFiles(ScenarioList& list) {
    const std::string name = list.Begin("read-only-kept");
    list.Set(Settings{});
    for (const char* kind : {"bmp", "wmf"}) {
        const std::string file = name + "." + kind;
        list.Message("Kept as it is");
        list.Line(std::string(kind) + " " + file);
        list.Line("readonly " + file);
        list.Message("Other");
        list.Line(std::string(kind) + " " + file);
    }
}

// Out-of-range settings that the setters replace by defaults.
void SetterDefaults(ScenarioList& list) {
    const std::string name = list.Begin("setter-defaults");
    list.Line("default");
    list.Line("size 0 -5");
    list.Line("info " + DoubleBits(0.0) + " 4 3");
    list.Line("message 416263");
    list.AllOutputs(name);
    const std::string name2 = list.Begin("setter-negative");
    list.Line("info " + DoubleBits(0.05) + " -1 -7");
    list.Line("size -1 -1");
    list.AllOutputs(name2);
    const std::string name3 = list.Begin("set-default-again");
    list.Line("default");
    list.AllOutputs(name3);
}

// Mixed settings from the fixed sequence, to fill the list.
void Varied(ScenarioList& list, Sequence& sequence, int count) {
    constexpr std::array<double, 9> kModules = {0.02, 0.03, 0.05, 0.08, 0.1, 0.13, 0.2, 0.27, 0.4};
    for (int i = 0; i < count; ++i) {
        Settings s;
        s.width = 1 + sequence.Below(700);
        s.height = 1 + sequence.Below(500);
        s.moduleSize = kModules[static_cast<std::size_t>(sequence.Below(9))];
        s.orientation = sequence.Below(4);
        s.border = sequence.Below(3);
        s.bar = {sequence.Below(256), sequence.Below(256), sequence.Below(256)};
        s.back = {sequence.Below(256), sequence.Below(256), sequence.Below(256)};
        const int length = sequence.Below(300);
        s.message.clear();
        for (int k = 0; k < length; ++k) {
            // Runs of digits, plain text and high bytes, as real labels mix them.
            const int kind = sequence.Below(3);
            s.message += static_cast<char>(kind == 0 ? '0' + sequence.Below(10)
                                           : kind == 1 ? 1 + sequence.Below(127)
                                                       : 128 + sequence.Below(128));
        }
        list.Full("varied" + std::to_string(i), s);
    }
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

// The seamless metafiles of one scenario at one dpi, the settings taken
// through the setters' own rules. None where the scenario draws no BMP (an
// empty picture, a message too long) or reuses the previous drawing's module
// size (0.0), which only the run itself knows.
bool WriteSeamless(const std::string& directory, int dpi, const std::string& name, const Settings& s) {
    ecc200::DMSettings d;
    ecc200::ApplySize(d, s.width, s.height);
    ecc200::ApplyMessage(d, s.message.c_str());
    ecc200::ApplyInfo(d, s.moduleSize, s.orientation, s.border);
    d.barColour = ecc200::ColourFromComponents(s.bar.red, s.bar.green, s.bar.blue);
    d.backgroundColour = ecc200::ColourFromComponents(s.back.red, s.back.green, s.back.blue);
    if (d.width <= 0 || d.height <= 0 || d.moduleSize == 0.0f) return true;
    const ecc200::SymbolMatrix* symbol = ecc200::BuildJobSymbol(d.messageBytes());
    if (symbol == nullptr) return true;
    const std::int32_t pixels = ecc200::ModulePixels(dpi, d.moduleSize, 0, std::max(symbol->rows(), symbol->cols()),
                                                     std::max(d.width, d.height));
    const ecc200::PictureGeometry picture{symbol,       d.width,
                                          d.height,     pixels,
                                          d.orientation, static_cast<ecc200::BorderStyle>(d.borderStyle),
                                          d.barColour,  d.backgroundColour,
                                          dpi,          dpi,
                                          static_cast<double>(pixels)};
    std::vector<std::uint8_t> wmf;
    std::vector<std::uint8_t> emf;
    return (!ecc200::WriteSeamlessWmf(picture, wmf).ok() || WriteBytes(directory + "/" + name + ".wmf", wmf)) &&
           (!ecc200::WriteSeamlessEmf(picture, emf).ok() || WriteBytes(directory + "/" + name + ".emf", emf));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        std::cerr << "usage: make_scenarios FILE [SEAMLESS-DIR DPI]...\n";
        return 2;
    }
    std::vector<std::pair<std::string, int>> seamless;
    for (int i = 2; i + 1 < argc; i += 2) seamless.emplace_back(argv[i], std::atoi(argv[i + 1]));
    bool written = true;
    const OutputsHook hook = [&](const std::string& name, const Settings& settings) {
        for (const auto& [directory, dpi] : seamless) written = WriteSeamless(directory, dpi, name, settings) && written;
    };
    std::ofstream out(argv[1], std::ios::binary);
    out << "# Conformance scenarios: setter calls, then outputs (see scenario_player.h).\n";
    ScenarioList list(out, hook);
    Sequence sequence;
    SettingsNeverMade(list);
    AllSizes(list, sequence);
    TurnsAndFrames(list);
    Colours(list);
    PictureSizes(list);
    ModuleSizes(list);
    NegativeOffsets(list, sequence);
    ModuleSizeZero(list);
    Messages(list);
    LongMessages(list);
    UnwritablePaths(list);
    ReadOnlyFiles(list);
    SetterDefaults(list);
    Varied(list, sequence, 120);
    out.close();
    if (!written) {
        std::cerr << "cannot write the seamless metafiles\n";
        return 1;
    }
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cout << list.count() << " scenarios\n";
    return 0;
}
