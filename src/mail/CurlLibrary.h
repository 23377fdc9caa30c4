#pragma once

#include <curl/curl.h>

#include <string>

namespace vigilon {

// The libcurl functions the URL servers use. libcurl is loaded when the
// first URL server is used, not at start: with the TLS, Kerberos, LDAP and
// SSH libraries it brings, it would double the memory and the start-up
// time of every run, and most runs never send through a URL server.
struct CurlFunctions {
    CURL* (*easyInit)();
    void (*easyCleanup)(CURL*);
    CURLcode (*easySetopt)(CURL*, CURLoption, ...);
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...);
    CURLcode (*easyPerform)(CURL*);
    const char* (*easyStrerror)(CURLcode);
    const curl_easyoption* (*easyOptionById)(CURLoption);
    curl_slist* (*slistAppend)(curl_slist*, const char*);
    void (*slistFreeAll)(curl_slist*);
    curl_version_info_data* (*versionInfo)(CURLversion);
};

// libcurl, loaded and started (curl_global_init) once, by whichever thread
// comes first; nullptr when it cannot be, and then why is in error.
const CurlFunctions* Curl(std::string* error = nullptr);

// libcurl's text for code, or the code's number when libcurl is missing.
std::string CurlErrorText(CURLcode code);

}  // namespace vigilon
