#pragma once

#include "CurlLibrary.h"

#include <string>

namespace vigilon {

// Sets the options of one libcurl handle and keeps the first refusal, so
// that a delivery with a setting missing stops before anything is sent:
// libcurl refuses a value out of its range, and a libcurl older than the
// one built against refuses the options it does not know yet.
class CurlOptions {
public:
    // curl came from a loaded libcurl (Curl()).
    explicit CurlOptions(CURL* curl) : curl_(curl) {}

    template <typename Value>
    void Set(CURLoption option, Value value) {
        if (!error_.empty()) return;  // the first refusal is the one to tell
        const CURLcode code = Curl()->easySetopt(curl_, option, value);
        if (code != CURLE_OK) error_ = CurlOptionRefusal(option, code);
    }

    // Empty while every option was taken.
    const std::string& Error() const { return error_; }

    // "libcurl refused CURLOPT_NAME: <libcurl's text for code>"; an option
    // this libcurl does not know is named by its number.
    static std::string CurlOptionRefusal(CURLoption option, CURLcode code);

private:
    CURL* curl_;
    std::string error_;
};

}  // namespace vigilon
