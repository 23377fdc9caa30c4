#pragma once

#include <wx/app.h>
#include <wx/cmdline.h>

namespace vigilon::ravelin {

// `ravelin [HOST]`: one window; given a host, it starts pinging it at once.
class CRavelinApp : public wxApp {
public:
    bool OnInit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

private:
    wxString host;
};

}  // namespace vigilon::ravelin
