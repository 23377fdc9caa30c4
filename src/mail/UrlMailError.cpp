#include "UrlMailError.h"

#include "CurlLibrary.h"
#include "ErrorText.h"

namespace vigilon {

namespace {

// The server's reply when it refused something (4xx or 5xx), in brackets;
// a positive reply says nothing about the failure.
std::string RefusalReply(const std::string& reply) {
    if (reply.size() < 3 || (reply[0] != '4' && reply[0] != '5')) return {};
    return " (" + reply + ")";
}

std::string WithDetail(const std::string& headline, const std::string& detail) {
    return detail.empty() ? headline : headline + ": " + detail;
}

}  // namespace

std::string UrlMailErrorText(const UrlMailFailure& failure) {
    const auto code = static_cast<CURLcode>(failure.curlCode);
    if (failure.handshakeTimedOut) return "TLS handshake with " + failure.host + " timed out";
    if (failure.connectTimedOut || (code == CURLE_OPERATION_TIMEDOUT && !failure.connected))
        return "Unable to connect to server: timed out";
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST: return "Unable to connect to server: host name not found";
        case CURLE_COULDNT_CONNECT:
            return failure.osError != 0
                       ? "Unable to connect to server: " + ErrorText(failure.osError)
                       : "Unable to connect to server";
        case CURLE_OPERATION_TIMEDOUT: return "Server didn't answer in time";
        case CURLE_USE_SSL_FAILED: return "Server does not offer STARTTLS; nothing was sent";
        case CURLE_PEER_FAILED_VERIFICATION:
            return WithDetail("Server certificate refused", failure.detail);
        case CURLE_SSL_CONNECT_ERROR: return WithDetail("TLS handshake failed", failure.detail);
        case CURLE_SSL_CACERT_BADFILE:
            return WithDetail("Unable to load the trusted CA certificates", failure.detail);
        case CURLE_LOGIN_DENIED: return "Login refused" + RefusalReply(failure.lastReply);
        case CURLE_AUTH_ERROR:
            return WithDetail("Login failed", failure.detail) + RefusalReply(failure.lastReply);
        default: {
            const std::string what = failure.detail.empty() ? CurlErrorText(code) : failure.detail;
            return what + RefusalReply(failure.lastReply);
        }
    }
}

}  // namespace vigilon
