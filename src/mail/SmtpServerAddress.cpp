#include "SmtpServerAddress.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace vigilon {

namespace {

// The field cut into its parts by position only, so that even a field that
// is not a usable URL can be shown without its password.
struct FieldParts {
    bool isUrl = false;         // holds "://"
    std::string_view scheme;
    bool hasLogin = false;
    std::string_view login;     // user[:password], as written, escapes and all
    std::string_view user;      // the login up to its first ':'
    std::string_view hostPort;
    std::string_view path;      // from its '/' on, or empty
};

FieldParts SplitField(std::string_view field) {
    FieldParts parts;
    std::string_view rest = field;
    if (const std::size_t mark = field.find("://"); mark != std::string_view::npos) {
        parts.isUrl = true;
        parts.scheme = field.substr(0, mark);
        rest = field.substr(mark + 3);
    }
    // The login ends at the last '@' (neither host nor name holds one), so
    // that a password with an unescaped '@' or '/' still stays hidden.
    if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos) {
        parts.hasLogin = true;
        parts.login = rest.substr(0, at);
        parts.user = parts.login.substr(0, parts.login.find(':'));
        rest.remove_prefix(at + 1);
    }
    const std::size_t slash = rest.find('/');
    parts.hostPort = rest.substr(0, slash);
    if (slash != std::string_view::npos) parts.path = rest.substr(slash);
    return parts;
}

std::string Displayed(const FieldParts& parts) {
    std::string text;
    if (parts.isUrl) text.append(parts.scheme).append("://");
    if (parts.hasLogin) text.append(parts.user).append("@");
    text.append(parts.hostPort).append(parts.path);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Nothing for a '%' without two hex digits after it, or for an escaped NUL,
// which no C string could carry to the login.
std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0)) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool IsHeloNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// The port after the host's last ':', or 0 when it is not a number 1..65535.
std::int32_t ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return 0;
    std::int32_t port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

// Fills the URL's fields from parts; returns why it cannot be used, or "".
std::string ParseUrl(const FieldParts& parts, SmtpServerAddress& address) {
    const std::size_t colon = parts.hostPort.rfind(':');
    address.host = parts.hostPort.substr(0, colon);
    const std::string scheme = Lowered(parts.scheme);
    if (scheme == "smtp") {
        address.security = SmtpSecurity::StartTls;
        address.port = SmtpServerAddress::kSubmissionPort;
    } else if (scheme == "smtps") {
        address.security = SmtpSecurity::ImplicitTls;
        address.port = SmtpServerAddress::kSubmissionsPort;
    } else {
        return "the address must start with smtp:// or smtps://";
    }

    if (colon != std::string_view::npos) {
        address.port = ParsePort(parts.hostPort.substr(colon + 1));
        if (address.port == 0) return "the port must be a number from 1 to 65535";
    }
    if (address.host.empty()) return "the host is missing";

    if (parts.path.size() > 1) {
        const std::string_view name = parts.path.substr(1);
        if (!std::all_of(name.begin(), name.end(), IsHeloNameChar))
            return "the name after '/' may hold only letters, digits, '.', '-' and '_'";
        address.heloName = name;
    }
    return {};
}

// Decodes user and password of a login; returns why it cannot, or "".
std::string ParseLogin(std::string_view login, SmtpServerAddress& address) {
    const std::size_t colon = login.find(':');
    const std::optional<std::string> user = PercentDecode(login.substr(0, colon));
    if (!user) return "bad percent-escape in the user name";
    address.user = *user;
    if (colon == std::string_view::npos) return {};
    const std::optional<std::string> password = PercentDecode(login.substr(colon + 1));
    if (!password) return "bad percent-escape in the password";
    address.password = *password;
    address.hasPassword = true;
    return {};
}

}  // namespace

SmtpServerAddress SmtpServerAddress::Parse(const std::string& field) {
    SmtpServerAddress address;
    const FieldParts parts = SplitField(field);
    address.display = Displayed(parts);
    // The host never holds the login either, even in a field that cannot be
    // used: the self-test pings it, and a failed lookup shows it.
    if (!parts.isUrl) {
        address.host = std::string(parts.hostPort) + std::string(parts.path);
        // A host name holds no '@'; a login here would only be lost.
        if (parts.hasLogin)
            address.error = "Invalid server address: a login needs smtp:// or smtps:// in front";
        return address;
    }
    std::string why = ParseUrl(parts, address);
    if (why.empty() && parts.hasLogin) why = ParseLogin(parts.login, address);
    if (!why.empty()) address.error = "Invalid server address: " + why;
    return address;
}

std::string ShownServer(const std::string& field) { return SmtpServerAddress::Parse(field).display; }

}  // namespace vigilon
