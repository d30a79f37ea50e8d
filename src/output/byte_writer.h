// Little-endian serialisation, field by field, for the file headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecc200 {

class ByteWriter {
public:
    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16le(std::uint16_t value) {
        u8(static_cast<std::uint8_t>(value & 0xFF));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32le(std::uint32_t value) {
        u16le(static_cast<std::uint16_t>(value & 0xFFFF));
        u16le(static_cast<std::uint16_t>(value >> 16));
    }
    void i32le(std::int32_t value) { u32le(static_cast<std::uint32_t>(value)); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads back a 16-bit little-endian word, as a checksum over written bytes needs.
inline std::uint16_t ReadU16le(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

}  // namespace ecc200
