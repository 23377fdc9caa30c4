#include "SettingsRules.h"

namespace vigilon::app {

std::string OutOfRangeMessage(const IntegerRule& rule) {
    return "Please enter an integer between " + std::to_string(rule.low) + " and " +
           std::to_string(rule.high) + ".";
}

std::string ListMissingEntries(MonitorSettings& fields) {
    std::string missing;
    if (fields.targetAddress.empty()) missing += "Target Address\n";
    if (fields.controlAddress.empty()) missing += "Control Address\n";
    if (fields.emailEnabled != 0) {
        if (fields.mailTo.empty()) missing += "To Email Address\n";
        if (fields.smtpServer1.empty()) missing += "SMTP Server Address\n";
        if (fields.mailFrom.empty()) fields.mailFrom = kDefaultSender;
    }
    return missing;
}

}  // namespace vigilon::app
