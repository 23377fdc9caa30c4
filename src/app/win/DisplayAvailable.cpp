#include "DisplayAvailable.h"

namespace vigilon::app {

// A Windows session always has its desktop to open windows on.
bool DisplayAvailable() { return true; }

}  // namespace vigilon::app
