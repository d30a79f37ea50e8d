// A little-endian byte writer over a growing buffer, for the metafile
// records and the file headers. Every field is written on its own with explicit
// shifts, so the output never depends on the host's byte order or on
// structure layout.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace ecc200::platform {

// Writes fields, in the same little-endian encoding, into bytes set aside
// in advance (ByteWriter::Extend): no capacity check per byte, for the
// records a drawing writes once per module.
class ByteCursor {
public:
    explicit ByteCursor(std::uint8_t* at) : at_(at) {}
    void u16le(std::uint16_t v) {
        at_[0] = static_cast<std::uint8_t>(v);
        at_[1] = static_cast<std::uint8_t>(v >> 8);
        at_ += 2;
    }
    void u32le(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) at_[i] = static_cast<std::uint8_t>(v >> (8 * i));
        at_ += 4;
    }
    // A signed value as its two's complement bit pattern; the conversion to
    // unsigned is defined as reduction modulo 2^32.
    void i32le(std::int32_t v) { u32le(static_cast<std::uint32_t>(v)); }
    // An IEEE 754 single as stored in [MS-EMF] XForm fields.
    void f32le(float v) {
        static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4, "needs IEEE 754 single precision");
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        u32le(bits);
    }
    // Past `bytes` bytes written elsewhere.
    void Skip(std::size_t bytes) { at_ += bytes; }
    const std::uint8_t* position() const { return at_; }

private:
    std::uint8_t* at_;
};

// The buffer is kept as large as the room set aside so far, and grows
// geometrically: setting bytes aside (Extend) is a comparison and an
// addition, with no zeroing of bytes that are written next anyway.
class ByteWriter {
public:
    void Reserve(std::size_t bytes) { Grow(bytes); }
    // Room for `bytes` more: a run of records written one by one, without
    // a reallocation among them.
    void ReserveMore(std::size_t bytes) { Grow(used_ + bytes); }
    // Each field through a cursor over bytes set aside for it: one encoding
    // of every field, ByteCursor's.
    void u16le(std::uint16_t v) { Extend(2).u16le(v); }
    void u32le(std::uint32_t v) { Extend(4).u32le(v); }
    void i32le(std::int32_t v) { Extend(4).i32le(v); }
    void PatchU32le(std::size_t offset, std::uint32_t v) { At(offset).u32le(v); }

    // Sets `bytes` more bytes aside at the end (zero until written) and
    // returns a cursor at the first of them.
    ByteCursor Extend(std::size_t bytes) {
        const std::size_t at = used_;
        if (bytes > bytes_.size() - at) Grow(std::max(at + bytes, 2 * bytes_.size()));
        used_ = at + bytes;
        return ByteCursor(bytes_.data() + at);
    }
    // A cursor over bytes written earlier, to fill in a placeholder.
    ByteCursor At(std::size_t offset) { return ByteCursor(bytes_.data() + offset); }

    std::size_t size() const { return used_; }
    std::uint8_t* data() { return bytes_.data(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    // The bytes written, the writer left empty.
    std::vector<std::uint8_t> Take() {
        bytes_.resize(used_);
        used_ = 0;
        return std::move(bytes_);
    }

private:
    void Grow(std::size_t bytes) {
        if (bytes > bytes_.size()) bytes_.resize(bytes);
    }
    std::vector<std::uint8_t> bytes_;  // bytes_.size() bytes of room, the first used_ of them written
    std::size_t used_ = 0;
};

}  // namespace ecc200::platform
