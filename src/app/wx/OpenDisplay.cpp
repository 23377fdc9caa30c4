#include "OpenDisplay.h"

#include <gtk/gtk.h>

namespace vigilon::app {

// wx's own start calls gtk_init_check again, which then has nothing to do.
bool OpenDisplay() { return gtk_init_check(nullptr, nullptr); }

}  // namespace vigilon::app
