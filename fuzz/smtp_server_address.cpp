// An SMTP server field as the user typed it or the settings file held it.
// Checks that the parts of a usable URL are usable and say the same when
// written out again, and that nothing shown (the display, the host, the
// error) depends on the password: whatever it is, it is never shown.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "CurlUrl.h"
#include "FuzzCheck.h"
#include "PercentEscape.h"
#include "SmtpServerAddress.h"
#include "UrlHost.h"

using vigilon::SmtpSecurity;
using vigilon::SmtpServerAddress;

namespace {

bool IsHeloNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// A usable URL written out again from its parts, as a settings dialog would.
std::string Rewritten(const SmtpServerAddress& a) {
    std::string url = a.security == SmtpSecurity::ImplicitTls ? "smtps://" : "smtp://";
    if (!a.user.empty() || a.hasPassword) {
        url += vigilon::PercentEncoded(a.user);
        if (a.hasPassword) url += ":" + vigilon::PercentEncoded(a.password);
        url += "@";
    }
    url += vigilon::UrlHostText(a.host) + ":" + std::to_string(a.port);
    if (!a.heloName.empty()) url += "/" + a.heloName;
    return url;
}

void CheckUsableUrl(const SmtpServerAddress& a) {
    FUZZ_CHECK(a.port >= 1 && a.port <= 65535);
    FUZZ_CHECK(vigilon::UrlHostProblem(a.host).empty());
    FUZZ_CHECK(std::all_of(a.heloName.begin(), a.heloName.end(), IsHeloNameChar));
    FUZZ_CHECK(a.hasPassword || a.password.empty());
    FUZZ_CHECK(vigilon::CurlUrlFor(a, "client.example.org").error.empty());

    const SmtpServerAddress again = SmtpServerAddress::Parse(Rewritten(a));
    FUZZ_CHECK(again.error.empty());
    FUZZ_CHECK(again.security == a.security);
    FUZZ_CHECK(again.host == a.host);
    FUZZ_CHECK(again.port == a.port);
    FUZZ_CHECK(again.user == a.user);
    FUZZ_CHECK(again.password == a.password);
    FUZZ_CHECK(again.hasPassword == a.hasPassword);
    FUZZ_CHECK(again.heloName == a.heloName);
}

// Where a person reads the password in a field: after "user:" up to the
// '@' in front of the host (the last one), with the user starting after a
// leading "scheme://". A scheme names a protocol and holds no ':', '/' or
// '@'; a "://" after one of those is part of the login or the host.
struct Span {
    std::size_t begin;
    std::size_t end;
};

std::optional<Span> PasswordAsWritten(std::string_view field) {
    std::size_t userStart = 0;
    if (const std::size_t mark = field.find("://");
        mark != std::string_view::npos &&
        field.substr(0, mark).find_first_of(":/@") == std::string_view::npos)
        userStart = mark + 3;
    const std::size_t at = field.rfind('@');
    if (at == std::string_view::npos || at < userStart) return std::nullopt;
    const std::size_t colon = field.substr(0, at).find(':', userStart);
    if (colon == std::string_view::npos) return std::nullopt;
    return Span{colon + 1, at};
}

void CheckPasswordNeverShown(const std::string& field, const SmtpServerAddress& a) {
    const std::optional<Span> password = PasswordAsWritten(field);
    if (!password) return;
    std::string other = field;
    other.replace(password->begin, password->end - password->begin, "x");
    const SmtpServerAddress b = SmtpServerAddress::Parse(other);
    FUZZ_CHECK(a.display == b.display);
    FUZZ_CHECK(a.host == b.host);
    FUZZ_CHECK(a.user == b.user);
    FUZZ_CHECK(a.heloName == b.heloName);
    FUZZ_CHECK(a.security == b.security);
    FUZZ_CHECK(a.port == b.port);
    // Only a password that cannot be decoded makes an error of its own.
    FUZZ_CHECK(a.error == b.error ||
               (b.error.empty() &&
                a.error == "Invalid server address: bad percent-escape in the password"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string field(reinterpret_cast<const char*>(data), size);
    const SmtpServerAddress a = SmtpServerAddress::Parse(field);
    FUZZ_CHECK(vigilon::ShownServer(field) == a.display);
    // Showing what is shown changes nothing.
    FUZZ_CHECK(vigilon::ShownServer(a.display) == a.display);
    FUZZ_CHECK(a.display.size() <= field.size());

    if (!a.IsUrl()) {
        FUZZ_CHECK(a.port == 0 && a.user.empty() && !a.hasPassword);
    } else if (a.error.empty()) {
        CheckUsableUrl(a);
    }
    CheckPasswordNeverShown(field, a);
    return 0;
}
