#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vigilon {

// Reads values in the settings file's archive form from a byte range. Every
// read checks the bytes left before taking or allocating anything, so a
// damaged or hostile length cannot run past the end or exhaust memory.
// A failed read leaves the output untouched.
class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ReadInt32(std::int32_t& value);
    // Accepts the three narrow prefix forms and the wide form (0xFF, 0xFFFE,
    // a character count, UTF-16LE), which is converted to UTF-8.
    bool ReadText(std::string& text);

private:
    enum class Prefix { Narrow, Wide, Invalid };

    // Reads one length prefix; Wide means the 0xFF 0xFFFE marker was found
    // and the character count follows as a second prefix.
    Prefix ReadLength(std::uint64_t& length);
    bool ReadUint8(std::uint8_t& value);
    bool ReadUint16(std::uint16_t& value);
    bool ReadUint32(std::uint32_t& value);
    std::size_t Remaining() const { return bytes_.size() - position_; }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace vigilon
