#include "CRavelinApp.h"

#include "CPingFrame.h"

namespace vigilon::ravelin {

bool CRavelinApp::OnInit() {
    if (!wxApp::OnInit()) return false;
    SetAppDisplayName("Ravelin");
    auto* frame = new CPingFrame();
    frame->Show();
    if (!host.empty()) frame->StartPinging(host);
    return true;
}

void CRavelinApp::OnInitCmdLine(wxCmdLineParser& parser) {
    wxApp::OnInitCmdLine(parser);
    parser.AddParam("HOST", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CRavelinApp::OnCmdLineParsed(wxCmdLineParser& parser) {
    if (!wxApp::OnCmdLineParsed(parser)) return false;
    if (parser.GetParamCount() > 0) host = parser.GetParam(0);
    return true;
}

}  // namespace vigilon::ravelin
