// libcurl loaded by name when a URL server is first used.
#include "CurlLibrary.h"

#include <dlfcn.h>

namespace vigilon {

namespace {

// The soname of every libcurl 7 and 8; the package depends on libcurl4.
constexpr const char* kCurlLibrary = "libcurl.so.4";

struct LoadedCurl {
    CurlFunctions functions{};
    std::string error;  // empty when loaded and started
};

template <typename Function>
void Find(void* library, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && error.empty()) error = std::string(kCurlLibrary) + " has no " + name;
}

LoadedCurl Load() {
    LoadedCurl loaded;
    // Never closed: libcurl keeps its process-wide state to the end.
    void* library = ::dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        loaded.error = why != nullptr ? why : std::string("cannot load ") + kCurlLibrary;
        return loaded;
    }
    CurlFunctions& f = loaded.functions;
    CURLcode (*globalInit)(long) = nullptr;
    Find(library, "curl_global_init", globalInit, loaded.error);
    Find(library, "curl_easy_init", f.easyInit, loaded.error);
    Find(library, "curl_easy_cleanup", f.easyCleanup, loaded.error);
    Find(library, "curl_easy_setopt", f.easySetopt, loaded.error);
    Find(library, "curl_easy_getinfo", f.easyGetinfo, loaded.error);
    Find(library, "curl_easy_perform", f.easyPerform, loaded.error);
    Find(library, "curl_easy_strerror", f.easyStrerror, loaded.error);
    Find(library, "curl_easy_option_by_id", f.easyOptionById, loaded.error);
    Find(library, "curl_version_info", f.versionInfo, loaded.error);
    Find(library, "curl_slist_append", f.slistAppend, loaded.error);
    Find(library, "curl_slist_free_all", f.slistFreeAll, loaded.error);
    if (loaded.error.empty() && globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        loaded.error = "libcurl did not start";
    return loaded;
}

}  // namespace

const CurlFunctions* Curl(std::string* error) {
    static const LoadedCurl loaded = Load();
    if (error != nullptr) *error = loaded.error;
    return loaded.error.empty() ? &loaded.functions : nullptr;
}

}  // namespace vigilon
