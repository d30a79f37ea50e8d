#include "encoder/encodation_search.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <climits>

#include "encoder/codeword_values.h"
#include "encoder/encodation_classes.h"
#include "encoder/encodation_values.h"
#include "encoder/encode_segments.h"

namespace ecc200 {
namespace {

// The states of the search. A triplet scheme's state counts the values of
// its unfinished triplet (0 to 2), EDIFACT's those of its quadruplet (0 to
// 3). A Base256 state stands at the end of a run, short (one length byte) or
// long (two). A forced scheme returns to a second ASCII state, the one that
// may take the last bytes.
constexpr int kAscii = 0;
constexpr int kC40 = 1;
constexpr int kText = 4;
constexpr int kX12 = 7;
constexpr int kEdifact = 10;
constexpr int kBase256Short = 14;
constexpr int kBase256Long = 15;
constexpr int kAsciiTail = 16;
constexpr int kStateCount = 17;
constexpr int kUnreached = INT_MAX / 2;
constexpr int kMaxShortRun = 249;  // 5.2.9.1: longer runs need a two-byte length field

constexpr std::array<int, 2> kAsciiStates = {kAscii, kAsciiTail};
constexpr std::array<int, 3> kTripletBases = {kC40, kText, kX12};
constexpr std::array<Encodation, 3> kTripletSchemes = {Encodation::C40, Encodation::Text, Encodation::X12};
constexpr std::array<int, 3> kTripletLatches = {kLatchC40, kLatchText, kLatchX12};

bool IsAsciiState(int s) { return s == kAscii || s == kAsciiTail; }
bool IsBase256State(int s) { return s == kBase256Short || s == kBase256Long; }
bool IsEdifactState(int s) { return s >= kEdifact && s < kEdifact + 4; }
int TripletIndex(int s) { return s >= kC40 && s < kEdifact ? (s - kC40) / 3 : -1; }

// A triplet scheme's step: `k` values (0 to 4) added to `p` pending ones
// leave (p + k) % 3 pending and complete (p + k) / 3 triplets of two
// codewords each (5.2.5.2). Tabled: the search takes it for every state.
struct TripletStep {
    int pending;
    int codewords;
};
constexpr std::array<std::array<TripletStep, 3>, 5> MakeTripletSteps() {
    std::array<std::array<TripletStep, 3>, 5> steps{};
    for (int k = 0; k < 5; ++k) {
        for (int p = 0; p < 3; ++p) steps[static_cast<std::size_t>(k)][static_cast<std::size_t>(p)] = {(p + k) % 3, 2 * ((p + k) / 3)};
    }
    return steps;
}
constexpr auto kTripletSteps = MakeTripletSteps();

// Codewords of an EDIFACT unlatch after `pending` values: 6 bits each,
// padded to whole codewords (5.2.8.2).
int EdifactUnlatchCost(int pending) { return (6 * (pending + 1) + 7) / 8; }

bool IsDigitItem(std::int32_t item) { return item >= '0' && item <= '9'; }

// ASCII codewords of one item that is not part of a digit pair.
int AsciiItemCost(std::int32_t item) {
    if (IsEciItem(item)) {
        std::array<std::uint8_t, 3> codewords{};
        return 1 + EciCodewords(EciValueOf(item), codewords);
    }
    return IsByteItem(item) ? kByteClasses[static_cast<std::size_t>(item)].asciiCodewords : 1;
}

// The classes of any item: a byte's from the table; FNC1 is two C40/Text
// values (Shift 2, FNC1) and one ASCII codeword; an ECI designator goes
// only in ASCII.
ByteClasses ClassesOf(std::int32_t item) {
    if (IsByteItem(item)) return kByteClasses[static_cast<std::size_t>(item)];
    const std::uint8_t triplet = item == kFnc1Item ? 2 : 0;
    return ByteClasses{triplet, triplet, false, false, false, static_cast<std::uint8_t>(AsciiItemCost(item))};
}

// Appends codewords to a stream that holds the header's, packing the
// values of C40/Text/X12 triplets and EDIFACT quadruplets.
class CodewordWriter {
public:
    CodewordWriter(const std::vector<std::int32_t>& items, std::vector<std::uint8_t>& out) : items_(items), out_(out) {}

    void Put(int codeword) { out_.push_back(static_cast<std::uint8_t>(codeword)); }
    int Count() const { return static_cast<int>(out_.size()); }

    void PushTripletValue(int value) {
        triplet_[tripletCount_++] = value;
        if (tripletCount_ < 3) return;
        // 5.2.5.2: 1600 C1 + 40 C2 + C3 + 1 as two codewords, high first.
        const int packed = 1600 * triplet_[0] + 40 * triplet_[1] + triplet_[2] + 1;
        Put(packed / 256);
        Put(packed % 256);
        tripletCount_ = 0;
    }

    // The padding writes a final 129 itself (see FinishFor).
    void DropFinalPad() {
        assert(!out_.empty() && out_.back() == kPadCodeword && "the final codeword is the first pad's value");
        out_.pop_back();
    }

    void PushEdifactValue(int value) {
        quad_ = (quad_ << 6) | value;
        if (++quadCount_ == 4) FlushEdifact();
    }

    // The values so far, 6 bits each, zero-filled to whole codewords.
    void FlushEdifact() {
        const int bits = 6 * quadCount_;
        const int codewords = (bits + 7) / 8;
        const int aligned = quad_ << (8 * codewords - bits);
        for (int k = codewords - 1; k >= 0; --k) Put((aligned >> (8 * k)) & 0xFF);
        quad_ = 0;
        quadCount_ = 0;
    }

    // ASCII of items [from, to): digit pairs taken from the left (5.2.3).
    // Written into a buffer on the stack and appended a buffer at a time:
    // no item takes more than four codewords (an ECI designator and its up
    // to three).
    void Ascii(int from, int to) {
        std::array<std::uint8_t, 256> buffer;
        std::uint8_t* const first = buffer.data();
        std::uint8_t* const last = first + buffer.size() - 4;
        std::uint8_t* put = first;
        const std::int32_t* items = items_.data();
        for (int i = from; i < to; ++i) {
            if (put > last) {
                out_.insert(out_.end(), first, put);
                put = first;
            }
            const std::int32_t item = items[i];
            if (IsDigitItem(item) && i + 1 < to && IsDigitItem(items[i + 1])) {
                *put++ = static_cast<std::uint8_t>(kDigitPairBase + 10 * (item - '0') + (items[++i] - '0'));
            } else if (item == kFnc1Item) {
                *put++ = kFnc1;
            } else if (IsEciItem(item)) {
                std::array<std::uint8_t, 3> codewords{};
                const int count = EciCodewords(EciValueOf(item), codewords);
                *put++ = kEciDesignator;
                for (int k = 0; k < count; ++k) *put++ = codewords[static_cast<std::size_t>(k)];
            } else if (item >= 128) {
                *put++ = kUpperShift;
                *put++ = static_cast<std::uint8_t>(item - 127);
            } else {
                *put++ = static_cast<std::uint8_t>(item + 1);
            }
        }
        out_.insert(out_.end(), first, put);
    }

    // A Base256 run of items [from, to): latch, length field, bytes, all
    // randomised by their position (5.2.9, Annex B.2). A run to the end of
    // the symbol has the length 0.
    void Base256(int from, int to, bool toEnd) {
        Put(kLatchBase256);
        const int length = to - from;
        if (toEnd) {
            PutRandomized(0);
        } else if (length <= kMaxShortRun) {
            PutRandomized(length);
        } else {
            PutRandomized(length / 250 + 249);
            PutRandomized(length % 250);
        }
        for (int i = from; i < to; ++i) PutRandomized(items_[static_cast<std::size_t>(i)]);
    }

private:
    void PutRandomized(int value) { Put(Randomize255(value, Count() + 1)); }

    const std::vector<std::int32_t>& items_;
    std::vector<std::uint8_t>& out_;
    std::array<int, 3> triplet_{};
    int tripletCount_ = 0;
    int quad_ = 0;
    int quadCount_ = 0;
};

}  // namespace

void AppendAsciiCodewords(const std::vector<std::int32_t>& items, std::vector<std::uint8_t>& out) {
    CodewordWriter(items, out).Ascii(0, static_cast<int>(items.size()));
}

EncodationSearch::EncodationSearch(const std::vector<std::int32_t>& items, Encodation scheme, int startCodewords,
                                   SearchBuffers& buffers, int asciiTailItems)
    : items_(items), scheme_(scheme), start_(startCodewords), n_(static_cast<int>(items.size())), asciiTailItems_(asciiTailItems),
      asciiStateCount_(scheme == Encodation::Automatic ? 1 : kAsciiStates.size()), buffers_(buffers), window_(buffers.window) {
    Run();
    for (int k = 0; k < kTailPositions; ++k) {
        const int from = n_ - kTailPositions + k;
        if (from >= 0) tailCosts_[static_cast<std::size_t>(k)] = AsciiTailCost(from);
    }
    lowestFinish_ = LowestFinish();
    tripletEndsInPad_ = {LastTripletEndsInPad(Encodation::C40), LastTripletEndsInPad(Encodation::Text)};
}

bool EncodationSearch::LastTripletEndsInPad(Encodation scheme) const {
    // The last two values of the scheme's value stream are those of the last
    // items, whatever the path: every run that reaches the end with two
    // values over holds them.
    std::array<int, 2> last{};
    int have = 0;
    for (int i = n_ - 1; i >= 0 && have < 2; --i) {
        std::array<std::uint8_t, 4> values{};
        const int count = TripletValues(scheme, items_[static_cast<std::size_t>(i)], values);
        if (count == 0) return false;  // an item the scheme does not hold: no run ends here
        for (int v = count - 1; v >= 0 && have < 2; --v) last[static_cast<std::size_t>(1 - have++)] = values[static_cast<std::size_t>(v)];
    }
    // 5.2.5.2: 1600 C1 + 40 C2 + C3 + 1, the low byte second.
    return have == 2 && (1600 * last[0] + 40 * last[1] + kShift1 + 1) % 256 == kPadCodeword;
}

int EncodationSearch::LowestFinish() const {
    // Every rule of FinishFor offers at least the cost of a state at the
    // end, but for a Base256 run to the end (one length byte fewer) and the
    // implicit return to ASCII (at least one codeword for the last items).
    int lowest = Cost(n_, kBase256Long) - 1;
    for (int s = 0; s < kStateCount; ++s) lowest = std::min(lowest, Cost(n_, s));
    for (int i = n_ > kTailPositions ? n_ - kTailPositions : 0; i < n_; ++i) {
        for (int base : {kC40, kText, kX12, kEdifact}) lowest = std::min(lowest, Cost(i, base) + 1);
    }
    return lowest;
}

std::size_t EncodationSearch::Index(int position, int state) {
    return static_cast<std::size_t>(position) * kStateCount + static_cast<std::size_t>(state);
}

void EncodationSearch::Relax(int position, int state, int cost, int fromPosition, int fromState) {
    if (cost >= Cost(position, state)) return;
    Cost(position, state) = cost;
    links_[Index(position, state)] = {fromPosition, static_cast<std::int8_t>(fromState)};
}

bool EncodationSearch::AsciiTakesByte(int state, int i) const {
    if (scheme_ == Encodation::Automatic || scheme_ == Encodation::Ascii) return true;
    return state == kAsciiTail && i >= n_ - asciiTailItems_;
}

void EncodationSearch::ClearRow(int position) {
    if (position > n_) return;
    int* row = &costs_[Index(position, 0)];
    for (int s = 0; s < kStateCount; ++s) row[s] = kUnreached;
}

void EncodationSearch::Run() {
    // Rows are cleared just ahead of the step that first reaches them (a
    // step relaxes its own position and the next two), so the arrays are
    // written once, in order, and never filled beforehand.
    // The buffers grow to the longest message seen and are never shrunk:
    // resize() keeps their allocation, and every entry read is written here.
    buffers_.costs.resize(std::max(buffers_.costs.size(), Index(n_ + 1, 0)));
    buffers_.links.resize(std::max(buffers_.links.size(), Index(n_ + 1, 0)));
    costs_ = buffers_.costs.data();
    links_ = buffers_.links.data();
    window_.clear();
    window_.reserve(static_cast<std::size_t>(n_ + 1));
    ClearRow(0);
    ClearRow(1);
    Cost(0, kAscii) = start_;
    links_[Index(0, kAscii)] = Link{-1, -1};
    // Per position: runs ending here, the return to ASCII, the latches, then
    // the item itself in every state that holds it.
    for (int i = 0; i <= n_; ++i) {
        ClearRow(i + 2);
        TrackBase256(i);
        SettleAscii(i);
        Latch(i);
        // A forced scheme may latch and at once return (a message whose
        // only item goes in ASCII after the latch): once more round.
        if (scheme_ != Encodation::Automatic) {
            SettleAscii(i);
            Latch(i);
        }
        if (i < n_) Consume(i);
    }
}

void EncodationSearch::TrackBase256(int i) {
    if (scheme_ != Encodation::Automatic && scheme_ != Encodation::Base256) return;
    const auto key = [this](int j) { return Cost(j, kAscii) - j; };
    // Short runs: the best entry among the last 249 positions.
    while (windowHead_ < window_.size() && window_[windowHead_] < i - kMaxShortRun) ++windowHead_;
    if (windowHead_ < window_.size()) {
        const int j = window_[windowHead_];
        Relax(i, kBase256Short, Cost(j, kAscii) + 2 + (i - j), j, kAscii);
    }
    // Long runs: every entry at least 250 back, one more length byte.
    const int oldest = i - kMaxShortRun - 1;
    if (oldest >= runStart_ && Cost(oldest, kAscii) < kUnreached && (longBest_ < 0 || key(oldest) < key(longBest_))) {
        longBest_ = oldest;
    }
    if (longBest_ >= 0) Relax(i, kBase256Long, Cost(longBest_, kAscii) + 3 + (i - longBest_), longBest_, kAscii);
}

void EncodationSearch::SettleAscii(int i) {
    // A forced scheme's returns lead to the ASCII state that may take the
    // last bytes; Base256 runs end in plain ASCII.
    const int back = scheme_ == Encodation::Automatic ? kAscii : kAsciiTail;
    const Row row = RowAt(i);
    // The ways into each target are weighed in locals and the cheapest, the
    // first of equals, written once: what one Relax after another would leave.
    struct Best {
        int cost;
        int from;  // -1: the target's own way stands
    };
    const auto offer = [](Best& best, int cost, int from) {
        if (cost < best.cost) best = {cost, from};
    };
    const auto write = [&](int target, const Best& best) {
        if (best.from >= 0) row.Relax(target, best.cost, i, best.from);
    };
    Best toAscii{row.cost[kAscii], -1};
    for (int s : {kBase256Short, kBase256Long}) offer(toAscii, row.cost[s], s);
    if (back != kAscii) write(kAscii, toAscii);
    Best toBack = back == kAscii ? toAscii : Best{row.cost[back], -1};
    for (int base : kTripletBases) offer(toBack, row.cost[base] + 1, base);
    // Two C40/Text values over: a Shift 1 completes the triplet, then the
    // unlatch (the shift is left without its character, as at the end of data).
    for (int base : {kC40, kText}) offer(toBack, row.cost[base + 2] + 3, base + 2);
    for (int p = 0; p < 4; ++p) offer(toBack, row.cost[kEdifact + p] + EdifactUnlatchCost(p), kEdifact + p);
    write(back, toBack);
}

void EncodationSearch::Latch(int i) {
    const auto allowed = [this](Encodation s) { return scheme_ == Encodation::Automatic || scheme_ == s; };
    const Row row = RowAt(i);
    for (std::size_t a = 0; a < asciiStateCount_; ++a) {
        const int from = kAsciiStates[a];
        const int cost = row.cost[from];
        if (cost >= kUnreached) continue;
        for (std::size_t t = 0; t < kTripletBases.size(); ++t) {
            if (allowed(kTripletSchemes[t])) row.Relax(kTripletBases[t], cost + 1, i, from);
        }
        if (allowed(Encodation::Edifact)) row.Relax(kEdifact, cost + 1, i, from);
    }
    // A Base256 run may start here; keep the entries in increasing order of
    // cost - position, so the queue's head is the best.
    if (!allowed(Encodation::Base256) || i >= n_ || Cost(i, kAscii) >= kUnreached) return;
    const int key = Cost(i, kAscii) - i;
    while (window_.size() > windowHead_ && Cost(window_.back(), kAscii) - window_.back() >= key) window_.pop_back();
    window_.push_back(i);
}

void EncodationSearch::Consume(int i) {
    const std::int32_t item = items_[static_cast<std::size_t>(i)];
    const ByteClasses classes = ClassesOf(item);
    const bool pair = classes.digit && i + 1 < n_ && IsDigitItem(items_[static_cast<std::size_t>(i + 1)]);
    const int* cost = RowAt(i).cost;
    const Row next = RowAt(i + 1);
    for (std::size_t a = 0; a < asciiStateCount_; ++a) {
        const int s = kAsciiStates[a];
        const int c = cost[s];
        if (c >= kUnreached || (IsByteItem(item) && !AsciiTakesByte(s, i))) continue;
        if (pair) RowAt(i + 2).Relax(s, c + 1, i, s);
        next.Relax(s, c + classes.asciiCodewords, i, s);
    }
    // The next position's C40/Text/X12 and EDIFACT states are reached only
    // from here (each from one state), so they are written, not weighed.
    const auto reach = [&next, i](int state, int cost, int fromState) {
        assert(next.cost[state] >= kUnreached && "reached twice");
        next.cost[state] = cost;
        next.link[state] = {i, static_cast<std::int8_t>(fromState)};
    };
    const bool automatic = scheme_ == Encodation::Automatic;
    const std::array<int, 3> valueCounts = {classes.c40Values, classes.textValues, classes.x12 ? 1 : 0};
    for (std::size_t t = 0; t < kTripletBases.size(); ++t) {
        const int k = valueCounts[t];
        if (k == 0 || (!automatic && scheme_ != kTripletSchemes[t])) continue;
        const int base = kTripletBases[t];
        const std::array<TripletStep, 3>& steps = kTripletSteps[static_cast<std::size_t>(k)];
        for (int p = 0; p < 3; ++p) {
            const int c = cost[base + p];
            const TripletStep& step = steps[static_cast<std::size_t>(p)];
            if (c < kUnreached) reach(base + step.pending, c + step.codewords, base + p);
        }
    }
    if ((automatic || scheme_ == Encodation::Edifact) && classes.edifact) {
        for (int p = 0; p < 4; ++p) {
            const int c = cost[kEdifact + p];
            if (c < kUnreached) reach(kEdifact + (p + 1) % 4, c + (p == 3 ? 3 : 0), kEdifact + p);
        }
    }
    // A Base256 run holds bytes only: an FNC1 or ECI item ends every run.
    if (!IsByteItem(item)) {
        runStart_ = i + 1;
        window_.clear();
        windowHead_ = 0;
        longBest_ = -1;
    }
}

int EncodationSearch::AsciiTailCost(int from) const {
    int cost = 0;
    for (int i = from; i < n_; ++i) {
        const std::int32_t item = items_[static_cast<std::size_t>(i)];
        const bool pair = IsDigitItem(item) && i + 1 < n_ && IsDigitItem(items_[static_cast<std::size_t>(i + 1)]);
        cost += pair ? 1 : AsciiItemCost(item);
        if (pair) ++i;
    }
    return cost;
}

EncodationFinish EncodationSearch::FinishFor(int capacity) const {
    using Rule = EncodationFinish::Rule;
    if (capacity < lowestFinish_) return EncodationFinish{};
    EncodationFinish best;
    best.codewords = kUnreached;
    const auto offer = [&](Rule rule, int position, int state, int codewords) {
        if (codewords <= capacity && codewords < best.codewords) best = {rule, position, state, codewords};
    };
    for (int s : {kAscii, kAsciiTail, kBase256Short, kBase256Long}) offer(Rule::Plain, n_, s, Cost(n_, s));
    if (Cost(n_, kBase256Long) - 1 == capacity) offer(Rule::Base256ToEnd, n_, kBase256Long, capacity);
    // 5.2.5.2, 5.2.7.2: a triplet scheme unlatches unless 0 or 1 codeword
    // remains; two values over are completed by a Shift 1 (C40 and Text).
    for (int base : kTripletBases) {
        const int c = Cost(n_, base);
        offer(Rule::TripletEnd, n_, base, capacity - c >= 2 ? c + 1 : c);
        if (base == kX12) continue;
        const int shifted = Cost(n_, base + 2) + 2;
        offer(Rule::TripletShift1, n_, base + 2, capacity - shifted >= 2 ? shifted + 1 : shifted);
        // A Shift 1 triplet that fills the capacity exactly and whose second
        // codeword is 129: the data may end before that codeword, since the
        // first pad (5.2.3.3), plain 129, writes the same value there. The
        // symbol is the same; the data are a codeword shorter.
        if (tripletEndsInPad_[base == kC40 ? 0 : 1] && shifted == capacity) offer(Rule::TripletShift1Pad, n_, base + 2, shifted - 1);
    }
    // 5.2.8.2: EDIFACT is read only while 3 or more codewords remain.
    const int edifact = Cost(n_, kEdifact);
    offer(Rule::EdifactEnd, n_, kEdifact, capacity - edifact <= 2 ? edifact : edifact + 1);
    for (int p = 1; p < 4; ++p) {
        const int c = Cost(n_, kEdifact + p);
        if (capacity - c >= 3) offer(Rule::EdifactEnd, n_, kEdifact + p, c + EdifactUnlatchCost(p));
    }
    // The implicit return to ASCII: a triplet scheme with one codeword left,
    // EDIFACT with one or two; the last items must fit them in ASCII.
    for (int i = n_ > kTailPositions ? n_ - kTailPositions : 0; i < n_; ++i) {
        const int tail = tailCosts_[static_cast<std::size_t>(i - (n_ - kTailPositions))];
        for (int base : kTripletBases) {
            const int c = Cost(i, base);
            if (capacity - c == 1 && tail == 1) offer(Rule::ImplicitAscii, i, base, c + 1);
        }
        const int c = Cost(i, kEdifact);
        if (capacity - c >= 1 && capacity - c <= 2 && tail <= capacity - c) offer(Rule::ImplicitAscii, i, kEdifact, c + tail);
    }
    if (best.rule == Rule::None) best.codewords = 0;
    return best;
}

int EncodationSearch::UnboundedCodewords() const {
    // Beyond the largest symbol no end-of-data rule saves a codeword: the
    // cheapest state at the end plus what closes it.
    const EncodationFinish finish = FinishFor(kUnreached - 1);
    return finish.codewords;
}

void EncodationSearch::Codewords(const EncodationFinish& finish, std::vector<std::uint8_t>& out) const {
    using Rule = EncodationFinish::Rule;
    assert(static_cast<int>(out.size()) == start_ && "the stream holds the header's codewords");
    // The path, last step first.
    std::vector<Link>& path = buffers_.path;
    path.clear();
    for (Link at{finish.position, static_cast<std::int8_t>(finish.state)}; at.position >= 0;) {
        path.push_back(at);
        at = links_[Index(at.position, at.state)];
    }
    CodewordWriter writer(items_, out);
    int asciiFrom = -1, asciiTo = -1;
    const auto flushAscii = [&] {
        if (asciiFrom >= 0) writer.Ascii(asciiFrom, asciiTo);
        asciiFrom = -1;
    };
    for (std::size_t k = path.size() - 1; k > 0; --k) {
        const Link a = path[k], b = path[k - 1];
        if (IsBase256State(b.state)) {
            flushAscii();
            writer.Base256(a.position, b.position, finish.rule == Rule::Base256ToEnd && k == 1);
        } else if (a.position == b.position) {
            flushAscii();
            if (TripletIndex(b.state) >= 0 && IsAsciiState(a.state)) writer.Put(kTripletLatches[static_cast<std::size_t>(TripletIndex(b.state))]);
            if (IsEdifactState(b.state) && IsAsciiState(a.state)) writer.Put(kLatchEdifact);
            if (TripletIndex(a.state) >= 0 && IsAsciiState(b.state)) {
                if ((a.state - kC40) % 3 == 2) writer.PushTripletValue(kShift1);
                writer.Put(kUnlatch);
            }
            if (IsEdifactState(a.state) && IsAsciiState(b.state)) {
                writer.PushEdifactValue(kEdifactUnlatch);
                writer.FlushEdifact();
            }
        } else if (IsAsciiState(a.state)) {
            if (asciiFrom < 0) asciiFrom = a.position;
            asciiTo = b.position;
        } else if (IsEdifactState(a.state)) {
            writer.PushEdifactValue(EdifactValue(items_[static_cast<std::size_t>(a.position)]));
        } else {
            const std::int32_t item = items_[static_cast<std::size_t>(a.position)];
            const std::size_t t = static_cast<std::size_t>(TripletIndex(a.state));
            std::array<std::uint8_t, 4> values{};
            const int k3 = kTripletSchemes[t] == Encodation::X12 ? 1 : TripletValues(kTripletSchemes[t], item, values);
            if (kTripletSchemes[t] == Encodation::X12) values[0] = static_cast<std::uint8_t>(X12Value(item));
            for (int v = 0; v < k3; ++v) writer.PushTripletValue(values[static_cast<std::size_t>(v)]);
        }
    }
    flushAscii();
    const bool more = finish.codewords > writer.Count();
    switch (finish.rule) {
        case Rule::TripletShift1:
            writer.PushTripletValue(kShift1);
            if (finish.codewords > writer.Count()) writer.Put(kUnlatch);
            break;
        case Rule::TripletShift1Pad:
            writer.PushTripletValue(kShift1);
            writer.DropFinalPad();
            break;
        case Rule::TripletEnd:
            if (more) writer.Put(kUnlatch);
            break;
        case Rule::EdifactEnd:
            if (more) {
                writer.PushEdifactValue(kEdifactUnlatch);
                writer.FlushEdifact();
            }
            break;
        case Rule::ImplicitAscii: writer.Ascii(finish.position, n_); break;
        default: break;
    }
    assert(writer.Count() == finish.codewords && "the codewords disagree with the search's count");
}

}  // namespace ecc200
