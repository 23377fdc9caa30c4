#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vigilon {

// Appends values in the settings file's archive form: integers as 4 bytes
// little-endian, texts as a length prefix followed by the bytes unchanged.
class ArchiveWriter {
public:
    void WriteInt32(std::int32_t value);
    // Uses the shortest of the three narrow prefix forms that holds the length.
    void WriteText(const std::string& text);

    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }

private:
    void WriteUint16(std::uint16_t value);
    void WriteUint32(std::uint32_t value);

    std::vector<std::uint8_t> bytes_;
};

}  // namespace vigilon
