// One alert e-mail delivered over loopback, timed from connect to the end of
// QUIT: the project's client against Python's smtplib, the same aiosmtpd
// server and the same message, kSends deliveries each, medians compared.
// Twice: in plain SMTP (the plain client), and through a URL server with
// STARTTLS, certificate checks against the system's CAs plus an extra CA
// file, and a login (libcurl in process; smtplib with one TLS context). The
// two take turns in rounds, so that a change in the machine's load weighs
// on both alike. Fails when a delivery fails or the client is more than
// kTarget times slower than smtplib.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "AlertText.h"
#include "CNotifyMail.h"
#include "CSMTP.h"
#include "CaBundle.h"
#include "RealSmtpServer.h"
#include "SmtpServerAddress.h"
#include "TestCertificates.h"
#include "TlsSmtpServer.h"
#include "UrlMailSender.h"

namespace {

using namespace vigilon;

constexpr int kSends = 100;
constexpr int kRounds = 10;
constexpr double kTarget = 1.5;
constexpr const char* kHost = "127.0.0.1";
constexpr const char* kFrom = "watch@vigilon.test";
constexpr const char* kTo = "ops@vigilon.test";
constexpr const char* kUser = "alice";
constexpr const char* kPassword = "secret";

CNotifyMail AlertMessage() {
    CNotifyMail message;
    message.from = kFrom;
    message.AddRecipient(kTo, "");
    message.subject = AlertSubject("target.vigilon.test", "OFFLINE");
    message.body = AlertBody(std::time(nullptr), "target.vigilon.test", "OFFLINE", "ONLINE");
    return message;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Appends milliseconds per delivery; false when one failed.
bool SendWithClient(int port, int count, std::vector<double>& times) {
    for (int i = 0; i < count; ++i) {
        CNotifyMail message = AlertMessage();
        const auto start = std::chrono::steady_clock::now();
        {
            CSMTP client(kHost, port);
            if (!(client.Connect() && client.SendMessage(message) && client.Disconnect())) {
                std::fprintf(stderr, "CSMTP delivery failed: %s\n",
                             client.GetLastErrorText().c_str());
                return false;
            }
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return true;
}

// The text the client sends after DATA, up to the terminating dot, which
// smtplib adds itself.
std::string WireText() {
    CNotifyMail message = AlertMessage();
    CSMTP formatter(kHost, CSMTP::kSmtpPort);
    formatter.FormatMailMessage(message);
    return message.header + std::string(kXMailerLine) + "\r\n" + message.body + "\r\n";
}

// Appends milliseconds per delivery; false when the script failed.
// secured: " CA_FILE USER PASSWORD" for STARTTLS and a login, or empty.
bool SendWithSmtplib(int port, int count, const std::string& messageFile,
                     std::vector<double>& times, const std::string& secured = "") {
    const std::string command = std::string("/usr/bin/python3 ") + SMTPLIB_SENDER + " " + kHost +
                                " " + std::to_string(port) + " " + std::to_string(count) + " " +
                                kFrom + " " + kTo + " " + messageFile + secured;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    int sent = 0;
    long microseconds = 0;
    while (std::fscanf(pipe, "%ld", &microseconds) == 1) {
        times.push_back(microseconds / 1000.0);
        ++sent;
    }
    if (::pclose(pipe) != 0 || sent != count) {
        std::fprintf(stderr, "smtplib deliveries failed\n");
        return false;
    }
    return true;
}

// Appends milliseconds per delivery through the URL server; false when one
// failed.
bool SendThroughServer(const std::string& url, int count, std::vector<double>& times) {
    const SmtpServerAddress server = SmtpServerAddress::Parse(url);
    for (int i = 0; i < count; ++i) {
        CNotifyMail message = AlertMessage();
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        if (!SendThroughUrl(server, message, SmtpTimeouts{}, error)) {
            std::fprintf(stderr, "URL delivery failed: %s\n", error.c_str());
            return false;
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return true;
}

// Both senders' times, in milliseconds per delivery, the plain client's or
// (url given) the URL server's; false when one failed.
bool Measure(int port, std::vector<double>& client, std::vector<double>& smtplib,
             const std::string& url = "", const std::string& secured = "") {
    char path[] = "/tmp/vigilon-bench-message-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) return false;
    ::close(fd);
    std::ofstream(path, std::ios::binary) << WireText();
    bool ok = true;
    for (int round = 0; round < kRounds && ok; ++round) {
        ok = (url.empty() ? SendWithClient(port, kSends / kRounds, client)
                          : SendThroughServer(url, kSends / kRounds, client)) &&
             SendWithSmtplib(port, kSends / kRounds, path, smtplib, secured);
    }
    ::unlink(path);
    return ok;
}

// Prints the medians and their ratio; true when the ratio meets kTarget.
bool Report(const char* title, const char* ours, const std::vector<double>& client,
            const std::vector<double>& smtplib) {
    const double ratio = Median(client) / Median(smtplib);
    std::printf("%s, median of %d:\n", title, kSends);
    std::printf("  %-8s %8.3f ms\n", ours, Median(client));
    std::printf("  smtplib  %8.3f ms\n", Median(smtplib));
    std::printf("  ratio    %8.2fx (aim <= %.1fx, %s against smtplib) %s\n", ratio, kTarget, ours,
                ratio <= kTarget ? "met" : "MISSED");
    return ratio <= kTarget;
}

// STARTTLS and a login with certificates made for the run, the extra CA
// file named as the program is told of it.
bool MeasureSecured() {
    test::TestCertificates certs;
    if (!certs.Error().empty()) {
        std::fprintf(stderr, "no certificates: %s\n", certs.Error().c_str());
        return false;
    }
    test::TlsSmtpServer::Options options;
    options.mode = "starttls";
    options.cert = certs.LocalhostCert();
    options.key = certs.LocalhostKey();
    options.login = kUser;
    options.password = kPassword;
    test::TlsSmtpServer server(options);
    if (!server.Ready()) {
        std::fprintf(stderr, "the TLS server did not start: %s\n", server.Output().c_str());
        return false;
    }
    ::setenv(kExtraCaVariable, certs.CaFile().c_str(), 1);
    ::setenv("HOME", certs.Directory().c_str(), 1);  // no ~/.netrc of the machine's
    const std::string url = std::string("smtp://") + kUser + ":" + kPassword + "@" + kHost + ":" +
                            std::to_string(server.Port());
    std::vector<double> client;
    std::vector<double> smtplib;
    if (!Measure(server.Port(), client, smtplib, url,
                 " " + certs.CaFile() + " " + kUser + " " + kPassword))
        return false;
    return Report("one loopback delivery with STARTTLS and a login", "libcurl", client, smtplib);
}

}  // namespace

int main() {
    test::RealSmtpServer server(kHost);
    if (!server.Ready()) {
        std::fprintf(stderr, "aiosmtpd did not start (python3-aiosmtpd installed?)\n");
        return 2;
    }
    std::vector<double> client;
    std::vector<double> smtplib;
    if (!Measure(server.Port(), client, smtplib)) return 1;
    const std::size_t stored = server.Messages().size();
    if (stored != 2u * kSends) {
        std::fprintf(stderr, "the server stored %zu messages, not %d\n", stored, 2 * kSends);
        return 1;
    }

    const bool plainMet = Report("one loopback delivery to aiosmtpd", "CSMTP", client, smtplib);
    const bool securedMet = MeasureSecured();
    return plainMet && securedMet ? 0 : 1;
}
