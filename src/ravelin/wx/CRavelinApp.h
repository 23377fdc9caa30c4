#pragma once

#include <wx/app.h>

#include <string>
#include <utility>

namespace vigilon::ravelin {

// `ravelin [HOST]`: one window; given a host, it starts pinging it at once.
// The command line was read before the toolkit started (RavelinMain.cpp).
class CRavelinApp : public wxApp {
public:
    explicit CRavelinApp(std::string host = {}) : host_(std::move(host)) {}
    bool OnInit() override;

private:
    std::string host_;
};

}  // namespace vigilon::ravelin
