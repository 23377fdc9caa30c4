#include "SmtpServerAddress.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "PercentEscape.h"
#include "UrlHost.h"

namespace vigilon {

namespace {

// The field cut into its parts by position only, so that even a field that
// is not a usable URL can be shown without its password.
struct FieldParts {
    bool isUrl = false;  // holds "://"
    std::string_view scheme;
    bool hasLogin = false;
    std::string_view login;  // user[:password], as written, escapes and all
    std::string_view user;   // the login up to its first ':'
    std::string_view hostPort;
    std::string_view path;  // from its '/' on, or empty
};

FieldParts SplitField(std::string_view field) {
    FieldParts parts;
    std::string_view rest = field;
    // A scheme is a word without ':', '/' or '@'. A "://" behind one of them
    // lies in a login or a host, and what stands in front of it, a password
    // maybe, must not be taken for a scheme and shown.
    const std::size_t mark = field.find("://");
    if (mark != std::string_view::npos &&
        field.substr(0, mark).find_first_of(":/@") == std::string_view::npos) {
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

// The port of a URL, or 0 when it is not a number 1..65535.
std::int32_t ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return 0;
    std::int32_t port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

// "host[:port]" or "[IPv6 address][:port]" cut apart.
struct HostAndPort {
    std::string_view host;  // without brackets
    bool bracketed = false;
    bool hasPort = false;
    std::string_view port;
};

// Returns why hostPort cannot be cut into host and port, or "".
std::string SplitHostPort(std::string_view hostPort, HostAndPort& out) {
    std::string_view afterHost;
    if (hostPort.starts_with('[')) {
        const std::size_t close = hostPort.find(']');
        if (close == std::string_view::npos) return "the ']' after the IPv6 address is missing";
        out.bracketed = true;
        out.host = hostPort.substr(1, close - 1);
        afterHost = hostPort.substr(close + 1);
        if (!afterHost.empty() && !afterHost.starts_with(':'))
            return "only ':' and a port may follow the ']' of the host";
    } else {
        const std::size_t colon = hostPort.find(':');
        out.host = hostPort.substr(0, colon);
        if (colon != std::string_view::npos) afterHost = hostPort.substr(colon);
        if (colon != hostPort.rfind(':'))
            return "an IPv6 address must stand in brackets, as in [2001:db8::25]";
    }
    if (afterHost.starts_with(':')) {
        out.hasPort = true;
        out.port = afterHost.substr(1);
    }
    return {};
}

std::string ParseHostPort(std::string_view hostPort, SmtpServerAddress& address) {
    HostAndPort parts;
    std::string why = SplitHostPort(hostPort, parts);
    address.host = parts.host;
    if (!why.empty()) return why;
    if (parts.bracketed && parts.host.find(':') == std::string_view::npos)
        return "the host in brackets is not an IPv6 address";
    if (std::string problem = UrlHostProblem(parts.host); !problem.empty()) return problem;
    if (parts.hasPort) {
        address.port = ParsePort(parts.port);
        if (address.port == 0) return "the port must be a number from 1 to 65535";
    }
    return {};
}

// Fills the URL's fields from parts; returns why it cannot be used, or "".
std::string ParseUrl(const FieldParts& parts, SmtpServerAddress& address) {
    const std::string scheme = Lowered(parts.scheme);
    if (scheme == "smtp") {
        address.security = SmtpSecurity::StartTls;
        address.port = SmtpServerAddress::kSubmissionPort;
    } else if (scheme == "smtps") {
        address.security = SmtpSecurity::ImplicitTls;
        address.port = SmtpServerAddress::kSubmissionsPort;
    } else {
        address.host = parts.hostPort.substr(0, parts.hostPort.find(':'));
        return "the address must start with smtp:// or smtps://";
    }
    if (std::string why = ParseHostPort(parts.hostPort, address); !why.empty()) return why;

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
    const std::optional<std::string> user = PercentDecoded(login.substr(0, colon));
    if (!user) return "bad percent-escape in the user name";
    address.user = *user;
    if (colon == std::string_view::npos) return {};
    const std::optional<std::string> password = PercentDecoded(login.substr(colon + 1));
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
    // used, so that nothing that shows the host can show the password.
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

std::string ShownServer(const std::string& field) {
    return SmtpServerAddress::Parse(field).display;
}

}  // namespace vigilon
