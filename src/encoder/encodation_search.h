// The encodation of a message with the fewest data codewords for a given
// symbol capacity (ISO/IEC 16022 5.2): a shortest path over (message
// position, encodation state), where a state is the scheme plus the values
// of an unfinished C40/Text/X12 triplet or EDIFACT quadruplet, so that every
// cost is a whole number of codewords. Base256 runs are priced by their
// length field (one byte up to 249, two above). The forward pass does not
// depend on the capacity; the end-of-data rules, which do, are applied per
// candidate capacity by FinishFor.
//
// Pure: reads its arguments, writes only its outputs (the caller's
// buffers), no globals, no I/O. Linear in the message length.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ecc200 {

enum class Encodation;

// Where the cheapest way to a node comes from; position -1 at the start.
struct SearchLink {
    std::int32_t position;
    std::int8_t state;
};

// The search's storage, kept from call to call by an encoder workspace:
// once grown to the longest message, a search allocates nothing.
struct SearchBuffers {
    std::vector<int> costs;  // cost of every (position, state), position-major
    std::vector<SearchLink> links;
    std::vector<int> window;  // Base256 run entries
    std::vector<SearchLink> path;
};

// How the codewords end for one capacity: which state the last step of the
// path stands in and which end-of-data rule closes it.
struct EncodationFinish {
    enum class Rule : std::uint8_t {
        None,            // no encodation fits the capacity
        Plain,           // ASCII, or a Base256 run with its length, then pads
        Base256ToEnd,    // the last Base256 run's length field is 0 (5.2.9.1)
        TripletEnd,      // C40/Text/X12 at a triplet boundary, unlatched when 2 or more codewords remain
        TripletShift1,   // C40/Text with 2 values over: Shift 1 completes the triplet
        TripletShift1Pad,  // the same filling the capacity, its second codeword 129: the first pad writes it
        EdifactEnd,      // EDIFACT: values over plus the unlatch value, or nothing when 2 or fewer codewords remain
        ImplicitAscii,   // the last items in ASCII after the scheme's implicit return (1 or 2 codewords left)
    } rule = Rule::None;
    int position = 0;    // items encoded before the rule applies
    int state = 0;
    int codewords = 0;   // data codewords, header included
};

// The ASCII codewords of items (5.2.3): digits paired from the left, Upper
// Shift before bytes above 127, FNC1 and ECI designators; appended to `out`.
// A message forced into ASCII has no other encodation, so it needs no search.
void AppendAsciiCodewords(const std::vector<std::int32_t>& items, std::vector<std::uint8_t>& out);

class EncodationSearch {
public:
    // `items` as in codeword_values.h; `startCodewords` header codewords
    // precede the data. A forced scheme other than Automatic encodes every
    // byte in that scheme except where ISO/IEC 16022's end-of-data rules
    // place the last ones in ASCII; FNC1 and ECI items go in ASCII when the
    // scheme has none. The forced scheme's ASCII may take the last
    // `asciiTailItems` bytes: 2 as the end-of-data rules need, more where a
    // C40/Text message cannot end otherwise (two Upper Shift characters
    // leaving one value over).
    EncodationSearch(const std::vector<std::int32_t>& items, Encodation scheme, int startCodewords,
                     SearchBuffers& buffers, int asciiTailItems = 2);

    // The fewest data codewords within `capacity`, with the rule that ends them.
    EncodationFinish FinishFor(int capacity) const;

    // Appends the data codewords of that finish to `out`, which holds the
    // header's codewords (Base256 randomising counts them).
    void Codewords(const EncodationFinish& finish, std::vector<std::uint8_t>& out) const;

    // The fewest codewords when the capacity does not matter: the figure a
    // message that fits nowhere is reported with.
    int UnboundedCodewords() const;

private:
    using Link = SearchLink;
    void Run();
    void ClearRow(int position);
    void SettleAscii(int i);
    void Latch(int i);
    void Consume(int i);
    void TrackBase256(int i);
    // The costs and links of one position, for the steps that relax
    // several of its states at once.
    struct Row {
        int* cost;
        Link* link;
        void Relax(int state, int value, int fromPosition, int fromState) const {
            if (value >= cost[state]) return;
            cost[state] = value;
            link[state] = {fromPosition, static_cast<std::int8_t>(fromState)};
        }
    };
    Row RowAt(int position) { return {&costs_[Index(position, 0)], &links_[Index(position, 0)]}; }
    void Relax(int position, int state, int cost, int fromPosition, int fromState);
    int& Cost(int position, int state) { return costs_[Index(position, state)]; }
    int Cost(int position, int state) const { return costs_[Index(position, state)]; }
    static std::size_t Index(int position, int state);
    int AsciiTailCost(int from) const;
    // AsciiTailCost of the last kTailPositions positions (FinishFor asks
    // for them once per candidate capacity); entry k is n - 4 + k's.
    static constexpr int kTailPositions = 4;
    std::array<int, kTailPositions> tailCosts_{};
    // No finish has fewer codewords (see LowestFinish): a smaller capacity
    // holds none, whatever the rules.
    int lowestFinish_ = 0;
    int LowestFinish() const;
    bool AsciiTakesByte(int state, int i) const;
    // Whether the C40 (0) or Text (1) triplet that ends the message with a
    // Shift 1 has 129 for its second codeword (see FinishFor).
    bool LastTripletEndsInPad(Encodation scheme) const;
    std::array<bool, 2> tripletEndsInPad_{};

    const std::vector<std::int32_t>& items_;
    Encodation scheme_;
    int start_;
    int n_;
    int asciiTailItems_;
    // The ASCII states a path may stand in: 1 in automatic encodation, 2
    // under a forced scheme (the tail state).
    std::size_t asciiStateCount_;
    // Cost and link of every (position, state), position-major; a row is
    // written before it is read (Run).
    SearchBuffers& buffers_;
    int* costs_ = nullptr;
    Link* links_ = nullptr;
    // Base256 run entries: a monotone queue of entry positions for runs of at
    // most 249 bytes and the best entry for longer runs.
    std::vector<int>& window_;
    std::size_t windowHead_ = 0;
    int runStart_ = 0;
    int longBest_ = -1;
};

}  // namespace ecc200
