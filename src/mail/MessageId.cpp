#include "MessageId.h"

#include <atomic>
#include <chrono>
#include <cstdio>

#include "SystemRandom.h"

namespace vigilon {

namespace {

// RFC 5322's atext, less what some servers choke on: letters, digits and
// the hyphen, as host names have them.
bool IsDotAtom(const std::string& text) {
    if (text.empty() || text.front() == '.' || text.back() == '.') return false;
    char previous = 0;
    for (char c : text) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '-' && c != '.') return false;
        if (c == '.' && previous == '.') return false;
        previous = c;
    }
    return true;
}

}  // namespace

std::string MessageIdDomain(const std::string& from, const std::string& heloName) {
    const std::size_t at = from.rfind('@');
    if (at != std::string::npos) {
        std::string domain = from.substr(at + 1);
        if (!domain.empty() && domain.back() == '>') domain.pop_back();
        if (IsDotAtom(domain)) return domain;
    }
    return IsDotAtom(heloName) ? heloName : "localhost";
}

std::string MakeMessageId(std::uint64_t key, std::int64_t time, const std::string& domain) {
    char left[64];
    std::snprintf(left, sizeof left, "%lld.%016llx", static_cast<long long>(time),
                  static_cast<unsigned long long>(key));
    return "<" + std::string(left) + ".vigilon@" + domain + ">";
}

std::uint64_t RandomMessageKey() {
    std::uint64_t key = 0;
    if (SystemRandomBytes(&key, sizeof key)) return key;
    // No random bytes yet this early after boot: the clock and a counter.
    static std::atomic<std::uint64_t> drawn{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(now) * 6364136223846793005ULL + ++drawn;
}

}  // namespace vigilon
