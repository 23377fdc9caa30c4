#pragma once

#include <cstdint>
#include <string>

namespace vigilon::app {

// The entries a self-test tries: copies of the settings dialog's fields.
struct SelfTestInputs {
    std::string mailFrom;
    std::int32_t emailEnabled = 0;
    std::string smtpServer2;  // empty: no second server
    std::string smtpServer1;
    std::string mailTo;
    std::string controlAddress;
    std::string targetAddress;
};

}  // namespace vigilon::app
