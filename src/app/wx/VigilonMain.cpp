#include "CMonitorApp.h"

wxIMPLEMENT_APP(vigilon::app::CMonitorApp);
