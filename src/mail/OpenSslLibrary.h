#pragma once

#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <string>

namespace vigilon {

// The OpenSSL functions that build the shared CA store (CaTrustOpenSsl).
// Loaded with the store, never at start: libcurl brings OpenSSL when it is
// loaded for the first URL server, and linking it would map libcrypto and
// libssl into every run, most of which send no mail through a URL server.
struct OpenSslFunctions {
    X509_STORE* (*storeNew)();
    void (*storeFree)(X509_STORE*);
    int (*storeAddCert)(X509_STORE*, X509*);
    int (*storeAddCrl)(X509_STORE*, X509_CRL*);
    BIO* (*bioNewMemBuf)(const void*, int);
    int (*bioFree)(BIO*);
    STACK_OF(X509_INFO) *
        (*pemX509InfoReadBio)(BIO*, STACK_OF(X509_INFO) *, pem_password_cb*, void*);
    int (*stackCount)(const OPENSSL_STACK*);
    void* (*stackValue)(const OPENSSL_STACK*, int);
    void (*stackPopFree)(OPENSSL_STACK*, void (*)(void*));
    void (*infoFree)(X509_INFO*);
    void (*ctxSet1CertStore)(SSL_CTX*, X509_STORE*);
};

// The libraries, loaded once; nullptr when they cannot be, and then why is
// in error.
const OpenSslFunctions* OpenSsl(std::string* error = nullptr);

}  // namespace vigilon
