#include "CurlOptions.h"

namespace vigilon {

std::string CurlOptions::CurlOptionRefusal(CURLoption option, CURLcode code) {
    const curl_easyoption* known = Curl()->easyOptionById(option);
    const std::string name = known != nullptr
                                 ? std::string("CURLOPT_") + known->name
                                 : "option " + std::to_string(static_cast<int>(option));
    return "libcurl refused " + name + ": " + CurlErrorText(code);
}

}  // namespace vigilon
