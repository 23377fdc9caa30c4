#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "MonitorSettings.h"

namespace vigilon {

inline constexpr int kSettingsFieldCount = 11;

// The most of the file a load reads, and so the largest record a save
// writes: far beyond any real record, small enough to cost nothing.
inline constexpr std::size_t kMaxSettingsBytes = std::size_t{1} << 20;

// The bytes of the settings file for a record: the eleven fields in their
// fixed order, texts in the shortest narrow prefix form.
std::vector<std::uint8_t> EncodeSettings(const MonitorSettings& settings);

// How far decoding got: fieldsRead fields, in file order, replaced the
// record's values; the rest kept theirs.
struct SettingsDecode {
    int fieldsRead = 0;
    bool Complete() const { return fieldsRead == kSettingsFieldCount; }
};

// Reads the eleven fields in order into settings, each replacing the field
// as it is read, and stops at the first one the bytes do not hold whole.
// Bytes after the eleventh field are ignored.
SettingsDecode DecodeSettings(std::span<const std::uint8_t> bytes, MonitorSettings& settings);

}  // namespace vigilon
