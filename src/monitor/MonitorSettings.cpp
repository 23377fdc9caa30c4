#include "MonitorSettings.h"

namespace vigilon {

MonitorSettings FirstRunSettings() { return MonitorSettings{}; }

MonitorSettings SettingsToEdit(const MonitorSettings& record) {
    MonitorSettings shown = record.targetAddress.empty() ? FirstRunSettings() : record;
    // A first run shows every text empty, the control host included, so the
    // default host fills an empty field in both cases.
    if (shown.controlAddress.empty()) shown.controlAddress = kDefaultControlHost;
    return shown;
}

bool EmailSettingsIncomplete(const MonitorSettings& settings) {
    return settings.mailTo.empty() || settings.smtpServer1.empty() || settings.mailFrom.empty();
}

}  // namespace vigilon
