#include "CaTrust.h"

#include <cstdlib>

#include "CaBundle.h"
#include "CurlLibrary.h"

namespace vigilon {

// An extra CA file is added to the system's bundle by handing libcurl both
// as one: a CA file of its own would replace the bundle, not extend it.
bool TrustForThisDelivery(CURL* curl, CurlOptions& options, std::string& errorText) {
    const char* extra = std::getenv(kExtraCaVariable);
    if (extra == nullptr || *extra == '\0') return true;
    char* systemBundle = nullptr;
    Curl()->easyGetinfo(curl, CURLINFO_CAINFO, &systemBundle);
    std::string bundle;
    if (!JoinCaBundles(systemBundle != nullptr ? systemBundle : "", extra, bundle, errorText))
        return false;
    curl_blob blob{bundle.data(), bundle.size(), CURL_BLOB_COPY};
    options.Set(CURLOPT_CAINFO_BLOB, &blob);
    return true;
}

}  // namespace vigilon
