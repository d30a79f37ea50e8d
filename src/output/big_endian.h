// Big-endian fields appended to a byte buffer, as PNG stores every integer
// (network byte order), each written with explicit shifts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecc200 {

inline void PutU32be(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
}

class BigEndianWriter {
public:
    explicit BigEndianWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u32be(std::uint32_t v) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + 4);
        PutU32be(bytes_.data() + at, v);
    }
    void PatchU32be(std::size_t offset, std::uint32_t v) { PutU32be(bytes_.data() + offset, v); }
    std::size_t size() const { return bytes_.size(); }

private:
    std::vector<std::uint8_t>& bytes_;
};

}  // namespace ecc200
