// OpenSSL loaded by name with the shared CA store: by then libcurl, linked
// with the same sonames, has usually loaded both libraries already.
#include "OpenSslLibrary.h"

#include <dlfcn.h>

namespace vigilon {

namespace {

// The sonames of the OpenSSL the program was built against (libssl3, which
// the package depends on).
const std::string kCryptoLibrary = "libcrypto.so." + std::to_string(OPENSSL_SHLIB_VERSION);
const std::string kSslLibrary = "libssl.so." + std::to_string(OPENSSL_SHLIB_VERSION);

struct LoadedOpenSsl {
    OpenSslFunctions functions{};
    std::string error;  // empty when loaded
};

void* Open(const std::string& name, std::string& error) {
    // Never closed: the store lives to the end of the run.
    void* library = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr && error.empty()) {
        const char* why = ::dlerror();
        error = why != nullptr ? why : "cannot load " + name;
    }
    return library;
}

template <typename Function>
void Find(void* library, const std::string& libraryName, const char* name, Function& function,
          std::string& error) {
    if (library == nullptr) return;
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && error.empty()) error = libraryName + " has no " + name;
}

LoadedOpenSsl Load() {
    LoadedOpenSsl loaded;
    std::string& error = loaded.error;
    OpenSslFunctions& f = loaded.functions;
    void* crypto = Open(kCryptoLibrary, error);
    void* ssl = Open(kSslLibrary, error);
    const std::string& c = kCryptoLibrary;
    Find(crypto, c, "X509_STORE_new", f.storeNew, error);
    Find(crypto, c, "X509_STORE_free", f.storeFree, error);
    Find(crypto, c, "X509_STORE_add_cert", f.storeAddCert, error);
    Find(crypto, c, "X509_STORE_add_crl", f.storeAddCrl, error);
    Find(crypto, c, "BIO_new_mem_buf", f.bioNewMemBuf, error);
    Find(crypto, c, "BIO_free", f.bioFree, error);
    Find(crypto, c, "PEM_X509_INFO_read_bio", f.pemX509InfoReadBio, error);
    Find(crypto, c, "OPENSSL_sk_num", f.stackCount, error);
    Find(crypto, c, "OPENSSL_sk_value", f.stackValue, error);
    Find(crypto, c, "OPENSSL_sk_pop_free", f.stackPopFree, error);
    Find(crypto, c, "X509_INFO_free", f.infoFree, error);
    Find(ssl, kSslLibrary, "SSL_CTX_set1_cert_store", f.ctxSet1CertStore, error);
    return loaded;
}

}  // namespace

const OpenSslFunctions* OpenSsl(std::string* error) {
    static const LoadedOpenSsl loaded = Load();
    if (error != nullptr) *error = loaded.error;
    return loaded.error.empty() ? &loaded.functions : nullptr;
}

}  // namespace vigilon
