#pragma once

#include <cstdint>
#include <string>

namespace vigilon {

// Reference host probed at the alert and recovery moments when the user
// has named none: a public web host that answers ICMP echo requests.
inline constexpr const char* kDefaultControlHost = "www.google.com";

// The program's one configuration record. Texts are 8-bit strings compared
// byte by byte; the three switches hold 0 or 1. Values loaded from the
// settings file are used as stored, without range checks.
struct MonitorSettings {
    std::string targetAddress;
    std::int32_t pingFrequency = 30;  // seconds between cycles while the target answers
    std::string controlAddress;
    std::string mailFrom;
    std::string mailTo;  // recipients separated by ';'
    std::string smtpServer1;
    std::string smtpServer2;
    std::int32_t timeoutsBeforeEmail = 5;
    std::int32_t logEnabled = 1;
    std::int32_t emailEnabled = 1;
    std::int32_t autoMinimize = 0;

    bool operator==(const MonitorSettings&) const = default;
};

// The values a settings dialog shows for an unconfigured record: the numbers
// and switches of a first run, every text empty.
MonitorSettings FirstRunSettings();

// What an edit starts from (the dialog, --set): the record itself, or the
// values of a first run while no target is set; an empty control host
// becomes the default.
MonitorSettings SettingsToEdit(const MonitorSettings& record);

// True when e-mail could not go anywhere: no recipient, no first server or
// no sender.
bool EmailSettingsIncomplete(const MonitorSettings& settings);

}  // namespace vigilon
