// Where libcurl's TLS is not OpenSSL (Schannel on Windows): libcurl is
// handed the certificate files for every delivery.
#include "CaTrust.h"

namespace vigilon {

bool SetCaTrust(CURL* curl, CurlOptions& options, CaTrustHold&, std::string& errorText) {
    return TrustForThisDelivery(curl, options, errorText);
}

}  // namespace vigilon
