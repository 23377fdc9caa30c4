// One alert e-mail delivered over loopback, timed from connect to the end of
// QUIT: the project's client against Python's smtplib, the same aiosmtpd
// server and the same message, kSends deliveries each, medians compared.
// The two take turns in rounds, so that a change in the machine's load
// weighs on both alike. Fails when a delivery fails or the client is more
// than kTarget times slower than smtplib.

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
#include "RealSmtpServer.h"

namespace {

using namespace vigilon;

constexpr int kSends = 100;
constexpr int kRounds = 10;
constexpr double kTarget = 1.5;
constexpr const char* kHost = "127.0.0.1";
constexpr const char* kFrom = "watch@vigilon.test";
constexpr const char* kTo = "ops@vigilon.test";

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
                std::fprintf(stderr, "CSMTP delivery failed: %s\n", client.GetLastErrorText().c_str());
                return false;
            }
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
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
bool SendWithSmtplib(int port, int count, const std::string& messageFile,
                     std::vector<double>& times) {
    const std::string command = std::string("/usr/bin/python3 ") + SMTPLIB_SENDER + " " + kHost +
                                " " + std::to_string(port) + " " + std::to_string(count) + " " +
                                kFrom + " " + kTo + " " + messageFile;
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

// Both senders' times, in milliseconds per delivery; false when one failed.
bool Measure(int port, std::vector<double>& client, std::vector<double>& smtplib) {
    char path[] = "/tmp/vigilon-bench-message-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) return false;
    ::close(fd);
    std::ofstream(path, std::ios::binary) << WireText();
    bool ok = true;
    for (int round = 0; round < kRounds && ok; ++round) {
        ok = SendWithClient(port, kSends / kRounds, client) &&
             SendWithSmtplib(port, kSends / kRounds, path, smtplib);
    }
    ::unlink(path);
    return ok;
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

    const double ours = Median(client);
    const double theirs = Median(smtplib);
    const double ratio = ours / theirs;
    std::printf("one loopback delivery to aiosmtpd, median of %d:\n", kSends);
    std::printf("  CSMTP    %8.3f ms\n", ours);
    std::printf("  smtplib  %8.3f ms\n", theirs);
    std::printf("  ratio    %8.2f  (target: at most %.1f) %s\n", ratio, kTarget,
                ratio <= kTarget ? "ok" : "MISSED");
    return ratio <= kTarget ? 0 : 1;
}
