#include "UrlMailSender.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "CSMTP.h"
#include "CaTrust.h"
#include "CurlLibrary.h"
#include "CurlOptions.h"
#include "CurlUrl.h"
#include "HeloName.h"
#include "MailText.h"
#include "NetrcPath.h"
#include "UrlMailError.h"

namespace vigilon {

namespace {

using Clock = std::chrono::steady_clock;

// Made only once libcurl is loaded (Curl()).
struct EasyHandle {
    CURL* curl = Curl()->easyInit();
    ~EasyHandle() {
        if (curl != nullptr) Curl()->easyCleanup(curl);
    }
};

struct StringList {
    curl_slist* list = nullptr;
    ~StringList() { Curl()->slistFreeAll(list); }
    bool Append(const std::string& text) {
        curl_slist* grown = Curl()->slistAppend(list, text.c_str());
        if (grown == nullptr) return false;
        list = grown;
        return true;
    }
};

// What one delivery hands to libcurl and what its callbacks note.
struct Transfer {
    CURL* curl = nullptr;
    std::string text;  // the message after DATA, without the final dot
    std::size_t sent = 0;
    Clock::time_point start = Clock::now();
    std::chrono::milliseconds connectLimit{};
    bool connectTimedOut = false;
    std::chrono::milliseconds handshakeLimit{};
    std::optional<Clock::time_point> handshakeStart;  // the first TLS byte
    bool handshakeTimedOut = false;
    std::string lastReply;
    bool quitting = false;             // the reply to QUIT explains nothing
    bool credentialNext = false;       // the server asked for a login step
    std::vector<std::string> secrets;  // never to appear in an error text
};

std::size_t ReadMessage(char* buffer, std::size_t size, std::size_t count, void* data) {
    auto* transfer = static_cast<Transfer*>(data);
    const std::size_t n = std::min(size * count, transfer->text.size() - transfer->sent);
    // curl takes bytes here, not a string: no terminator.
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
    std::memcpy(buffer, transfer->text.data() + transfer->sent, n);
    transfer->sent += n;
    return n;
}

std::string WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return std::string(line);
}

// Keeps the server's last reply line before QUIT for the error text, and
// every login token sent (the initial response after AUTH, each answer to
// a 334), in case a server echoes one back. Notes when the TLS handshake
// began: libcurl with OpenSSL shows each handshake message it sends.
int NoteDialogue(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::string_view bytes(data, size);
    if ((type == CURLINFO_SSL_DATA_OUT || type == CURLINFO_SSL_DATA_IN) &&
        !transfer->handshakeStart)
        transfer->handshakeStart = Clock::now();
    if (type == CURLINFO_HEADER_IN && !transfer->quitting) {
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
            std::string line = WithoutLineEnd(bytes.substr(start, end - start + 1));
            if (!line.empty()) transfer->lastReply = line;
            start = end + 1;
        }
        transfer->credentialNext = transfer->lastReply.starts_with("334");
    } else if (type == CURLINFO_HEADER_OUT) {
        const std::string line = WithoutLineEnd(bytes);
        if (transfer->credentialNext) {
            transfer->secrets.push_back(line);
        } else if (line.size() > 5 && strncasecmp(line.c_str(), "AUTH ", 5) == 0) {
            const std::size_t token = line.find(' ', 5);
            if (token != std::string::npos) transfer->secrets.push_back(line.substr(token + 1));
        } else if (strcasecmp(line.c_str(), "QUIT") == 0) {
            transfer->quitting = true;
        }
        transfer->credentialNext = false;
    }
    return 0;
}

// A TLS handshake has begun and not yet ended.
bool InHandshake(const Transfer& transfer) {
    if (!transfer.handshakeStart) return false;
    curl_off_t securedAfter = 0;
    Curl()->easyGetinfo(transfer.curl, CURLINFO_APPCONNECT_TIME_T, &securedAfter);
    return securedAfter == 0;
}

// The TCP connection is made. libcurl gives smtps no connect time before
// the TLS handshake is done, but a handshake under way needs a connection.
bool TcpConnected(const Transfer& transfer) {
    curl_off_t connectedAfter = 0;
    Curl()->easyGetinfo(transfer.curl, CURLINFO_CONNECT_TIME_T, &connectedAfter);
    return connectedAfter > 0 || transfer.handshakeStart.has_value();
}

// libcurl counts greeting, EHLO, STARTTLS and the login into its connect
// time; the connect limit is for the lookup and the TCP connection alone, so
// it is kept here. So is the handshake's, a wait for the server as a reply
// is: for smtps libcurl would wait out the whole exchange's limit. Until
// the connection is secured, libcurl calls this at least once a second.
int WatchConnect(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(data);
    const Clock::time_point now = Clock::now();
    if (InHandshake(*transfer)) {
        if (now - *transfer->handshakeStart < transfer->handshakeLimit) return 0;
        transfer->handshakeTimedOut = true;
        return 1;
    }
    if (TcpConnected(*transfer) || now - transfer->start < transfer->connectLimit) return 0;
    transfer->connectTimedOut = true;
    return 1;
}

std::string Redacted(std::string text, const std::vector<std::string>& secrets) {
    for (const std::string& secret : secrets) {
        if (secret.empty()) continue;
        for (std::size_t at = text.find(secret); at != std::string::npos;
             at = text.find(secret, at + 5))
            text.replace(at, secret.size(), "*****");
    }
    return text;
}

long WholeSeconds(std::chrono::milliseconds limit) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limit).count();
    return seconds < 1 ? 1L : static_cast<long>(seconds);
}

// The plain client's limits in libcurl's terms: connect (WatchConnect),
// each reply (the server response time-out, whole seconds only), each send
// (no byte taken for that long), and the whole exchange.
void SetLimits(CurlOptions& options, Transfer& transfer, const SmtpTimeouts& timeouts) {
    transfer.connectLimit = timeouts.connect;
    transfer.handshakeLimit = timeouts.reply;
    options.Set(CURLOPT_NOPROGRESS, 0L);
    options.Set(CURLOPT_XFERINFOFUNCTION, &WatchConnect);
    options.Set(CURLOPT_XFERINFODATA, &transfer);
    options.Set(CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(timeouts.reply));
    options.Set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    options.Set(CURLOPT_LOW_SPEED_TIME, WholeSeconds(timeouts.reply));
    const long exchange = static_cast<long>(timeouts.exchange.count());
    options.Set(CURLOPT_CONNECTTIMEOUT_MS, exchange);
    options.Set(CURLOPT_TIMEOUT_MS, exchange);
    // Otherwise a lookup given up on is still waited for, as long as the
    // resolver takes; its thread finishes on its own.
    options.Set(CURLOPT_QUICK_EXIT, 1L);
}

// TLS required and checked, against the system's CA store and the extra
// file (CaTrust).
bool SetSecurity(CURL* curl, CurlOptions& options, CaTrustHold& trust, std::string& errorText) {
    options.Set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    options.Set(CURLOPT_SSL_VERIFYPEER, 1L);
    options.Set(CURLOPT_SSL_VERIFYHOST, 2L);
    options.Set(CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    return SetCaTrust(curl, options, trust, errorText);
}

void SetLogin(CurlOptions& options, const SmtpServerAddress& server, Transfer& transfer) {
    if (server.hasPassword) {
        options.Set(CURLOPT_USERNAME, server.user.c_str());
        options.Set(CURLOPT_PASSWORD, server.password.c_str());
        transfer.secrets.push_back(server.password);
        return;
    }
    options.Set(CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    if (const std::string netrc = NetrcPath(); !netrc.empty())
        options.Set(CURLOPT_NETRC_FILE, netrc.c_str());
}

// The text after DATA: the plain client's, but with the body unstuffed,
// since libcurl doubles leading dots itself. The final empty line matches
// the plain client's "\r\n.\r\n" after a body that ends in CR LF; libcurl
// then only adds ".\r\n".
std::string SubmissionText(const CNotifyMail& message) {
    std::string body = NormaliseLineEnds(message.body);
    if (!body.ends_with("\r\n")) body += "\r\n";
    return message.header + std::string(kXMailerLine) + "\r\n" + body + "\r\n";
}

UrlMailFailure Failure(CURL* curl, CURLcode code, const Transfer& transfer, const char* detail,
                       const std::string& host) {
    UrlMailFailure failure;
    failure.curlCode = code;
    failure.host = host;
    failure.connected = TcpConnected(transfer);
    failure.connectTimedOut = transfer.connectTimedOut;
    // After STARTTLS libcurl's own reply time-out may end the wait first.
    failure.handshakeTimedOut =
        transfer.handshakeTimedOut || (code == CURLE_OPERATION_TIMEDOUT && InHandshake(transfer));
    long osError = 0;
    Curl()->easyGetinfo(curl, CURLINFO_OS_ERRNO, &osError);
    failure.osError = static_cast<int>(osError);
    failure.detail = detail;
    failure.lastReply = transfer.lastReply;
    return failure;
}

// Everything libcurl reads during the transfer. The handle is the last
// member, so it goes first: its clean-up may still call back or write.
struct Delivery {
    CaTrustHold trust;
    Transfer transfer;
    StringList recipients;
    std::string url;
    std::string from;
    char detail[CURL_ERROR_SIZE] = "";
    EasyHandle handle;
};

// False, errorText set, when the envelope cannot be given to libcurl.
bool SetEnvelope(Delivery& delivery, CurlOptions& options, const SmtpServerAddress& server,
                 const CNotifyMail& message, std::string& errorText) {
    for (const MailRecipient& recipient : message.recipients) {
        if (!delivery.recipients.Append("<" + recipient.address + ">")) {
            errorText = "Out of memory";
            return false;
        }
    }
    const CurlUrl url = CurlUrlFor(server, server.heloName.empty() ? HeloName() : server.heloName);
    if (!url.error.empty()) {
        errorText = url.error;
        return false;
    }
    delivery.url = url.text;
    delivery.from = "<" + message.from + ">";
    delivery.transfer.text = SubmissionText(message);
    options.Set(CURLOPT_URL, delivery.url.c_str());
    options.Set(CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    options.Set(CURLOPT_MAIL_FROM, delivery.from.c_str());
    options.Set(CURLOPT_MAIL_RCPT, delivery.recipients.list);
    // A refused recipient does not stop the others, as on the plain path.
    options.Set(CURLOPT_MAIL_RCPT_ALLLOWFAILS, 1L);
    options.Set(CURLOPT_UPLOAD, 1L);
    options.Set(CURLOPT_READFUNCTION, &ReadMessage);
    options.Set(CURLOPT_READDATA, &delivery.transfer);
    options.Set(CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(delivery.transfer.text.size()));
    return true;
}

void SetReporting(Delivery& delivery, CurlOptions& options) {
    options.Set(CURLOPT_VERBOSE, 1L);  // feeds NoteDialogue only
    options.Set(CURLOPT_DEBUGFUNCTION, &NoteDialogue);
    options.Set(CURLOPT_DEBUGDATA, &delivery.transfer);
    options.Set(CURLOPT_ERRORBUFFER, delivery.detail);
    options.Set(CURLOPT_FORBID_REUSE, 1L);  // QUIT before perform returns
    // CURLOPT_NOSIGNAL stays off: libcurl then ignores SIGPIPE while it
    // works, so a server that drops the connection cannot end the program.
    // Its lookups run on a thread of their own, so it sets no alarms.
}

}  // namespace

bool SendThroughUrl(const SmtpServerAddress& server, CNotifyMail& message,
                    const SmtpTimeouts& timeouts, std::string& errorText) {
    // Checked before anything is sent, as on the plain path.
    if (std::string refusal = message.FindLineBreakField(); !refusal.empty()) {
        errorText = refusal;
        return false;
    }
    if (!message.PrepareHeader()) {
        errorText = "Message refused: no recipients";
        return false;
    }
    if (std::string why; Curl(&why) == nullptr) {
        errorText = "Unable to start libcurl: " + why;
        return false;
    }
    Delivery delivery;
    CURL* curl = delivery.handle.curl;
    if (curl == nullptr) {
        errorText = "Unable to start libcurl";
        return false;
    }
    delivery.transfer.curl = curl;
    CurlOptions options(curl);
    if (!SetSecurity(curl, options, delivery.trust, errorText) ||
        !SetEnvelope(delivery, options, server, message, errorText))
        return false;
    SetLogin(options, server, delivery.transfer);
    SetLimits(options, delivery.transfer, timeouts);
    SetReporting(delivery, options);
    if (!options.Error().empty()) {
        errorText = options.Error();
        return false;
    }

    delivery.transfer.start = Clock::now();
    const CURLcode code = Curl()->easyPerform(curl);
    if (code == CURLE_OK) return true;
    errorText = Redacted(
        UrlMailErrorText(Failure(curl, code, delivery.transfer, delivery.detail, server.host)),
        delivery.transfer.secrets);
    return false;
}

}  // namespace vigilon
