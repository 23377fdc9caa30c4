#include "SettingsFields.h"

#include <algorithm>

#include "DialogInteger.h"
#include "SmtpServerAddress.h"

namespace vigilon::app {

namespace {

using S = MonitorSettings;
using F = NamedField;

const NamedField kFields[] = {
    {"targetAddress", F::Text, &S::targetAddress},
    {"pingFrequency", F::Number, nullptr, kFrequencyRule.field, &kFrequencyRule},
    {"controlAddress", F::Text, &S::controlAddress},
    {"mailFrom", F::Text, &S::mailFrom},
    {"mailTo", F::Text, &S::mailTo},
    {"smtpServer1", F::Text, &S::smtpServer1},
    {"smtpServer2", F::Text, &S::smtpServer2},
    {"timeoutsBeforeEmail", F::Number, nullptr, kTimeoutsRule.field, &kTimeoutsRule},
    {"logEnabled", F::Switch, nullptr, &S::logEnabled},
    {"emailEnabled", F::Switch, nullptr, &S::emailEnabled},
    {"autoMinimize", F::Switch, nullptr, &S::autoMinimize},
};

const NamedField* FindField(std::string_view name) {
    const auto found = std::find_if(std::begin(kFields), std::end(kFields),
                                    [name](const NamedField& field) { return name == field.name; });
    return found == std::end(kFields) ? nullptr : found;
}

// Empty when value fits the field, else the dialog's own words for it.
std::string SetField(const NamedField& field, const std::string& value, MonitorSettings& settings) {
    switch (field.kind) {
        case F::Text: settings.*field.text = value; return {};
        case F::Switch:
            if (value != "0" && value != "1") return "Please enter 0 or 1.";
            settings.*field.number = value == "1" ? 1 : 0;
            return {};
        case F::Number: {
            std::int32_t number = 0;
            if (!ParseDialogInteger(value, number)) return kNotAnInteger;
            if (number < field.range->low || number > field.range->high)
                return OutOfRangeMessage(*field.range);
            settings.*field.number = number;
            return {};
        }
    }
    return {};
}

}  // namespace

std::span<const NamedField> NamedFields() { return kFields; }

std::string AssignSettings(const std::vector<std::string>& words, MonitorSettings& settings) {
    for (const std::string& word : words) {
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const NamedField* field = equals == std::string::npos ? nullptr : FindField(name);
        if (field == nullptr) return "no setting is called '" + name + "' (see vigilon --help)";
        if (const std::string problem = SetField(*field, word.substr(equals + 1), settings);
            !problem.empty()) {
            std::string refusal = word;
            return refusal.append(": ").append(problem);
        }
    }
    if (const std::string missing = ListMissingEntries(settings); !missing.empty())
        return kMissingHeading + missing;
    return {};
}

std::string SettingsLines(const MonitorSettings& settings) {
    std::string lines;
    for (const NamedField& field : kFields) {
        std::string value =
            field.kind == F::Text ? settings.*field.text : std::to_string(settings.*field.number);
        if (field.text == &S::smtpServer1 || field.text == &S::smtpServer2)
            value = ShownServer(value);
        lines += std::string(field.name) + "=" + value + "\n";
    }
    return lines;
}

}  // namespace vigilon::app
