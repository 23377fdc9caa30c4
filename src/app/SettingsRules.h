#pragma once

#include <cstdint>
#include <string>

#include "MonitorSettings.h"

namespace vigilon::app {

// What the settings dialog accepts, apart from any dialog: the settings
// dialog's form and the command line's --set both follow these rules.

inline constexpr const char* kNotAnInteger = "Please enter an integer.";
inline constexpr const char* kMissingHeading = "Please provide entries for the following:\n\n";
inline constexpr const char* kDefaultSender = "Vigilon";

// A number field and the range its box accepts.
struct IntegerRule {
    std::int32_t MonitorSettings::*field;
    std::int32_t low;
    std::int32_t high;
};
inline constexpr IntegerRule kFrequencyRule{&MonitorSettings::pingFrequency, 10, 86400};
inline constexpr IntegerRule kTimeoutsRule{&MonitorSettings::timeoutsBeforeEmail, 1, 1000};

// "Please enter an integer between LOW and HIGH."
std::string OutOfRangeMessage(const IntegerRule& rule);

// The required entries that are empty, one per line. With e-mail on, an
// empty sender becomes "Vigilon" (a default, not a missing entry).
std::string ListMissingEntries(MonitorSettings& fields);

}  // namespace vigilon::app
