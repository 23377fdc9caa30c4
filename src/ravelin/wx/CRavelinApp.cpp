#include "CRavelinApp.h"

#include "CPingFrame.h"

namespace vigilon::ravelin {

bool CRavelinApp::OnInit() {
    SetAppDisplayName("Ravelin");
    auto* frame = new CPingFrame();
    frame->Show();
    if (!host_.empty()) frame->StartPinging(wxString::FromUTF8(host_));
    return true;
}

}  // namespace vigilon::ravelin
