// libcurl linked into the program: the Windows build carries its own
// Schannel libcurl beside the program, and nothing else to keep out of the
// start.
#include <curl/curl.h>

#include "CurlLibrary.h"

namespace vigilon {

namespace {

struct StartedCurl {
    CurlFunctions functions{&curl_easy_init,         &curl_easy_cleanup, &curl_easy_setopt,
                            &curl_easy_getinfo,      &curl_easy_perform, &curl_easy_strerror,
                            &curl_easy_option_by_id, &curl_slist_append, &curl_slist_free_all,
                            &curl_version_info};
    std::string error =
        curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK ? "" : "libcurl did not start";
};

}  // namespace

const CurlFunctions* Curl(std::string* error) {
    static const StartedCurl started;
    if (error != nullptr) *error = started.error;
    return started.error.empty() ? &started.functions : nullptr;
}

}  // namespace vigilon
