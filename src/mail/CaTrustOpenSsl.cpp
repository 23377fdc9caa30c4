// libcurl over OpenSSL: the system's bundle and the extra CA file are
// parsed into one X509_STORE the first time a delivery needs them, and
// every later delivery's TLS context shares it, instead of libcurl reading
// and parsing some 150 certificates for each one. It is built again when
// VIGILON_SMTP_CA_FILE names another file or a file changes.
#include <curl/curl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "CaBundle.h"
#include "CaTrust.h"
#include "CurlLibrary.h"
#include "OpenSslLibrary.h"

namespace vigilon {

namespace {

// A file as it is now; a rewritten file differs in one of them.
std::string FileStamp(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return path + ":-";
    return path + ":" + std::to_string(status.st_size) + ":" +
           std::to_string(status.st_mtim.tv_sec) + "." + std::to_string(status.st_mtim.tv_nsec);
}

bool ReadWhole(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

std::shared_ptr<X509_STORE> StoreOf(const OpenSslFunctions& ssl, const std::string& pem) {
    std::shared_ptr<X509_STORE> store(ssl.storeNew(), ssl.storeFree);
    if (!store) return nullptr;
    BIO* bio = ssl.bioNewMemBuf(pem.data(), static_cast<int>(pem.size()));
    if (bio == nullptr) return nullptr;
    STACK_OF(X509_INFO)* infos = ssl.pemX509InfoReadBio(bio, nullptr, nullptr, nullptr);
    ssl.bioFree(bio);
    if (infos == nullptr) return nullptr;
    const auto* stack = reinterpret_cast<OPENSSL_STACK*>(infos);
    for (int i = 0; i < ssl.stackCount(stack); ++i) {
        const auto* info = static_cast<const X509_INFO*>(ssl.stackValue(stack, i));
        if (info->x509 != nullptr) ssl.storeAddCert(store.get(), info->x509);
        if (info->crl != nullptr) ssl.storeAddCrl(store.get(), info->crl);
    }
    ssl.stackPopFree(reinterpret_cast<OPENSSL_STACK*>(infos),
                     reinterpret_cast<void (*)(void*)>(ssl.infoFree));
    return store;
}

// The store for the run, shared by every thread that delivers.
class SharedStore {
public:
    std::shared_ptr<X509_STORE> Get(const std::string& systemBundle, const char* extra,
                                    std::string& errorText) {
        const std::string extraPath = extra != nullptr ? extra : "";
        const std::string key = FileStamp(systemBundle) + "|" + FileStamp(extraPath);
        const std::lock_guard<std::mutex> lock(mutex_);
        if (store_ && key == key_) return store_;
        std::string pem;
        if (!extraPath.empty()) {
            if (!JoinCaBundles(systemBundle, extraPath, pem, errorText)) return nullptr;
        } else if (!systemBundle.empty()) {
            ReadWhole(systemBundle, pem);
        }
        std::string loadError;
        const OpenSslFunctions* ssl = OpenSsl(&loadError);
        if (ssl == nullptr) {
            errorText = "Unable to load the CA certificates: " + loadError;
            return nullptr;
        }
        std::shared_ptr<X509_STORE> store = StoreOf(*ssl, pem);
        if (!store) {
            errorText = "Unable to load the CA certificates";
            return nullptr;
        }
        store_ = store;
        key_ = key;
        return store_;
    }

private:
    std::mutex mutex_;
    std::string key_;
    std::shared_ptr<X509_STORE> store_;
};

SharedStore& Shared() {
    static auto* shared = new SharedStore;  // deliveries may outlast main's objects
    return *shared;
}

bool CurlUsesOpenSsl() {
    const curl_version_info_data* info = Curl()->versionInfo(CURLVERSION_NOW);
    return info != nullptr && info->ssl_version != nullptr &&
           std::strncmp(info->ssl_version, "OpenSSL", 7) == 0;
}

// libcurl's TLS context takes a reference to the shared store (OpenSSL was
// loaded with it).
CURLcode UseStore(CURL*, void* context, void* store) {
    OpenSsl()->ctxSet1CertStore(static_cast<SSL_CTX*>(context), static_cast<X509_STORE*>(store));
    return CURLE_OK;
}

}  // namespace

bool SetCaTrust(CURL* curl, CurlOptions& options, CaTrustHold& hold, std::string& errorText) {
    static const bool openSsl = CurlUsesOpenSsl();
    if (!openSsl) return TrustForThisDelivery(curl, options, errorText);
    char* systemBundle = nullptr;
    Curl()->easyGetinfo(curl, CURLINFO_CAINFO, &systemBundle);
    const char* extra = std::getenv(kExtraCaVariable);
    if (extra != nullptr && *extra == '\0') extra = nullptr;
    std::shared_ptr<X509_STORE> store =
        Shared().Get(systemBundle != nullptr ? systemBundle : "", extra, errorText);
    if (!store) return false;
    hold.store = store;
    // libcurl loads no file of its own: the store holds them all.
    options.Set(CURLOPT_CAINFO, static_cast<const char*>(nullptr));
    options.Set(CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    options.Set(CURLOPT_SSL_CTX_FUNCTION, &UseStore);
    options.Set(CURLOPT_SSL_CTX_DATA, static_cast<void*>(store.get()));
    return true;
}

}  // namespace vigilon
