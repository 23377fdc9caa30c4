#include "RealSmtpServer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vigilon::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string Unfold(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

}  // namespace

RealSmtpServer::RealSmtpServer(const std::string& address, int port)
    : address_(address), port_(port != 0 ? port : FreePort(address)) {
    char dirTemplate[] = "/tmp/vigilon-maildir-XXXXXX";
    if (::mkdtemp(dirTemplate) == nullptr) return;
    mailDir_ = dirTemplate;
    const std::string listen = address_ + ":" + std::to_string(port_);
    ready_ = process_.Start({kPython, "-m", "aiosmtpd", "-n", "-l", listen, "-c",
                             "aiosmtpd.handlers.Mailbox", mailDir_ + "/box"},
                            address_, port_);
}

// The server stops before its maildir goes.
RealSmtpServer::~RealSmtpServer() {
    process_.Stop();
    if (!mailDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(mailDir_, ignored);
    }
}

std::vector<std::string> RealSmtpServer::Messages() const {
    std::vector<std::string> messages;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(mailDir_ + "/box/new", error)) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        messages.push_back(Unfold(text.str()));
    }
    return messages;
}

std::string HeaderValue(const std::string& message, const std::string& name) {
    std::istringstream lines(message);
    std::string line;
    const std::string prefix = name + ": ";
    while (std::getline(lines, line) && !line.empty()) {
        if (line.starts_with(prefix)) return line.substr(prefix.size());
    }
    return "";
}

std::string BodyOf(const std::string& message) {
    const std::size_t end = message.find("\n\n");
    return end == std::string::npos ? "" : message.substr(end + 2);
}

}  // namespace vigilon::test
