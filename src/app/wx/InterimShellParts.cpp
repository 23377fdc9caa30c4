#include "InterimShellParts.h"

namespace vigilon::app {

EditOutcome InterimSettingsEditing::EditSettings() {
    MonitorSettings& settings = engine_.Settings();
    if (settings.targetAddress.empty()) settings = FirstRunSettings();
    if (settings.controlAddress.empty()) settings.controlAddress = kDefaultControlHost;
    engine_.Run().countdown = settings.pingFrequency;
    engine_.UpdateMenuChecks();
    return EditOutcome::Applied;
}

}  // namespace vigilon::app
