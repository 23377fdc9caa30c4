#include "ArchiveReader.h"

#include "Utf16.h"

namespace vigilon {

bool ArchiveReader::ReadInt32(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!ReadUint32(raw)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ArchiveReader::ReadText(std::string& text) {
    std::uint64_t length = 0;
    Prefix prefix = ReadLength(length);
    if (prefix == Prefix::Invalid) return false;
    if (prefix == Prefix::Narrow) {
        if (length > Remaining()) return false;
        auto start = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
        text.assign(start, start + static_cast<std::ptrdiff_t>(length));
        position_ += static_cast<std::size_t>(length);
        return true;
    }
    // The second prefix counts characters of two bytes each; a second wide
    // marker would be meaningless and marks a damaged file.
    if (ReadLength(length) != Prefix::Narrow) return false;
    if (length > Remaining() / 2) return false;
    const std::size_t byteCount = static_cast<std::size_t>(length) * 2;
    text = Utf16LeToUtf8(bytes_.subspan(position_, byteCount));
    position_ += byteCount;
    return true;
}

ArchiveReader::Prefix ArchiveReader::ReadLength(std::uint64_t& length) {
    std::uint8_t byte = 0;
    if (!ReadUint8(byte)) return Prefix::Invalid;
    if (byte < 0xFF) {
        length = byte;
        return Prefix::Narrow;
    }
    std::uint16_t word = 0;
    if (!ReadUint16(word)) return Prefix::Invalid;
    if (word == 0xFFFE) return Prefix::Wide;
    if (word < 0xFFFF) {
        length = word;
        return Prefix::Narrow;
    }
    std::uint32_t dword = 0;
    if (!ReadUint32(dword)) return Prefix::Invalid;
    length = dword;
    return Prefix::Narrow;
}

bool ArchiveReader::ReadUint8(std::uint8_t& value) {
    if (Remaining() < 1) return false;
    value = bytes_[position_++];
    return true;
}

bool ArchiveReader::ReadUint16(std::uint16_t& value) {
    if (Remaining() < 2) return false;
    value = static_cast<std::uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
    position_ += 2;
    return true;
}

bool ArchiveReader::ReadUint32(std::uint32_t& value) {
    if (Remaining() < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes_[position_ + static_cast<std::size_t>(i)];
    position_ += 4;
    return true;
}

}  // namespace vigilon
