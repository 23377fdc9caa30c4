// Windows always has a display to open a window on. Built only while the
// shell's display check is not built for Windows (see CMakeLists.txt).
#include "DisplayAvailable.h"

namespace vigilon::app {

bool DisplayAvailable() { return true; }

}  // namespace vigilon::app
