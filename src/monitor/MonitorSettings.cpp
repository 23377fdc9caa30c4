#include "MonitorSettings.h"

namespace vigilon {

MonitorSettings FirstRunSettings() { return MonitorSettings{}; }

bool EmailSettingsIncomplete(const MonitorSettings& settings) {
    return settings.mailTo.empty() || settings.smtpServer1.empty() || settings.mailFrom.empty();
}

}  // namespace vigilon
