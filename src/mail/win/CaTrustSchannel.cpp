// Schannel checks a server against Windows' root store, unless libcurl is
// handed CA certificates: then against those alone. So an extra CA file is
// handed over together with Windows' roots, and adds to them.
#include <windows.h>

// After windows.h, whose types it uses.
#include <wincrypt.h>

#include <cstdlib>

#include "CaBundle.h"
#include "CaTrust.h"
#include "WindowsRootCertificates.h"

namespace vigilon {

std::string WindowsRootCertificates() {
    std::string pem;
    HCERTSTORE store = ::CertOpenSystemStoreW(0, L"ROOT");
    if (store == nullptr) return pem;
    const CERT_CONTEXT* certificate = nullptr;
    while ((certificate = ::CertEnumCertificatesInStore(store, certificate)) != nullptr) {
        const DWORD flags = CRYPT_STRING_BASE64HEADER;
        DWORD size = 0;
        if (!::CryptBinaryToStringA(certificate->pbCertEncoded, certificate->cbCertEncoded, flags,
                                    nullptr, &size))
            continue;
        std::string text(size, '\0');
        if (!::CryptBinaryToStringA(certificate->pbCertEncoded, certificate->cbCertEncoded, flags,
                                    text.data(), &size))
            continue;
        text.resize(size);  // without the terminating zero
        pem += text;
    }
    ::CertCloseStore(store, 0);
    return pem;
}

bool SchannelCaBundle(const std::string& extraFile, std::string& bundle, std::string& error) {
    if (!JoinCaBundles("", extraFile, bundle, error)) return false;
    bundle = WindowsRootCertificates() + bundle;
    return true;
}

bool SetCaTrust(CURL*, CurlOptions& options, CaTrustHold&, std::string& errorText) {
    const char* extra = std::getenv(kExtraCaVariable);
    if (extra == nullptr || *extra == '\0') return true;
    std::string bundle;
    if (!SchannelCaBundle(extra, bundle, errorText)) return false;
    curl_blob blob{bundle.data(), bundle.size(), CURL_BLOB_COPY};
    options.Set(CURLOPT_CAINFO_BLOB, &blob);
    return true;
}

}  // namespace vigilon
