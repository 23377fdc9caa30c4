#include "ArchiveWriter.h"

#include <algorithm>

namespace vigilon {

namespace {
// The largest length the 4-byte prefix form describes unambiguously.
constexpr std::size_t kMaxTextLength = 0xFFFFFFFEu;
}  // namespace

void ArchiveWriter::WriteInt32(std::int32_t value) {
    WriteUint32(static_cast<std::uint32_t>(value));
}

void ArchiveWriter::WriteText(const std::string& text) {
    // A text of 4 GiB cannot occur in practice; cutting it keeps the file
    // readable instead of writing a prefix that lies about its length.
    const std::size_t n = std::min(text.size(), kMaxTextLength);
    if (n < 0xFF) {
        bytes_.push_back(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        // 0xFFFE marks a wide text and 0xFFFF the 4-byte form, so neither
        // can be a 2-byte length.
        bytes_.push_back(0xFF);
        WriteUint16(static_cast<std::uint16_t>(n));
    } else {
        bytes_.push_back(0xFF);
        WriteUint16(0xFFFF);
        WriteUint32(static_cast<std::uint32_t>(n));
    }
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

void ArchiveWriter::WriteUint16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::WriteUint32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

}  // namespace vigilon
