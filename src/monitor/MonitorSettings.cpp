#include "MonitorSettings.h"

namespace vigilon {

MonitorSettings FirstRunSettings() { return MonitorSettings{}; }

}  // namespace vigilon
