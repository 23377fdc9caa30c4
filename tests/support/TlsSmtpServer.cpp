#include "TlsSmtpServer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vigilon::test {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

TlsSmtpServer::TlsSmtpServer(const Options& options) {
    char dirTemplate[] = "/tmp/vigilon-tls-smtp-XXXXXX";
    if (::mkdtemp(dirTemplate) == nullptr) return;
    dir_ = dirTemplate;
    port_ = FreePort(options.address);
    std::vector<std::string> argv = {"/usr/bin/python3",
                                     TLS_SMTP_SERVER,
                                     "--listen",
                                     options.address + ":" + std::to_string(port_),
                                     "--mode",
                                     options.mode,
                                     "--dir",
                                     dir_};
    if (!options.cert.empty())
        argv.insert(argv.end(), {"--cert", options.cert, "--key", options.key});
    if (!options.login.empty())
        argv.insert(argv.end(), {"--login", options.login, "--password", options.password});
    if (!options.mechanism.empty()) argv.insert(argv.end(), {"--mechanism", options.mechanism});
    if (options.echoPassword) argv.push_back("--echo-password");
    ready_ = process_.Start(argv, options.address, port_, dir_ + "/output");
}

TlsSmtpServer::~TlsSmtpServer() {
    process_.Stop();
    if (dir_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::vector<std::string> TlsSmtpServer::Messages() const {
    std::vector<std::string> messages;
    for (int n = 1;; ++n) {
        const std::string path = dir_ + "/new/" + std::to_string(n) + ".eml";
        if (!std::filesystem::exists(path)) break;
        messages.push_back(ReadFile(path));
    }
    return messages;
}

std::vector<std::string> TlsSmtpServer::Events() const {
    std::vector<std::string> events;
    std::istringstream lines(ReadFile(dir_ + "/events"));
    for (std::string line; std::getline(lines, line);)
        events.push_back(line);
    return events;
}

std::string TlsSmtpServer::Output() const { return ReadFile(dir_ + "/output"); }

}  // namespace vigilon::test
