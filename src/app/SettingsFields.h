#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "MonitorSettings.h"
#include "SettingsRules.h"

namespace vigilon::app {

// One field of the settings record by the name the command line gives it.
struct NamedField {
    enum Kind { Text, Number, Switch };
    const char* name;
    Kind kind;
    std::string MonitorSettings::*text = nullptr;
    std::int32_t MonitorSettings::*number = nullptr;
    const IntegerRule* range = nullptr;  // Number only
};

// The eleven fields, in the settings file's order.
std::span<const NamedField> NamedFields();

// Sets fields from NAME=VALUE words, in order, by the settings dialog's
// rules: a number within its box's range, a switch 0 or 1, and once all are
// set, the entries the dialog requires (the sender's default included).
// Empty on success; else what is wrong, and settings may be half changed.
std::string AssignSettings(const std::vector<std::string>& words, MonitorSettings& settings);

// NAME=VALUE lines of every field; a server's password is never shown.
std::string SettingsLines(const MonitorSettings& settings);

}  // namespace vigilon::app
