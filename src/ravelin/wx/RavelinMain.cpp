#include "CRavelinApp.h"

wxIMPLEMENT_APP(vigilon::ravelin::CRavelinApp);
