#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

#include "CurlOptions.h"

namespace vigilon {

// What a delivery's handle relies on until the delivery ends.
struct CaTrustHold {
    std::shared_ptr<void> store;
};

// Gives libcurl the CA certificates a URL server's certificate is checked
// against: the system's bundle, plus the file VIGILON_SMTP_CA_FILE names.
// Where the platform's file (CaTrustOpenSsl.cpp) can, it builds them into
// one store for the whole run, built again only when the variable or a
// file changes; otherwise each delivery hands libcurl the files
// (TrustForThisDelivery). False, errorText set, when the extra file cannot
// be used.
bool SetCaTrust(CURL* curl, CurlOptions& options, CaTrustHold& hold, std::string& errorText);

// The files handed to libcurl, read and parsed by it for this delivery.
bool TrustForThisDelivery(CURL* curl, CurlOptions& options, std::string& errorText);

}  // namespace vigilon
