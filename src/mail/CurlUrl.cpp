#include "CurlUrl.h"

#include "PercentEscape.h"
#include "UrlHost.h"

namespace vigilon {

CurlUrl CurlUrlFor(const SmtpServerAddress& server, const std::string& ehloName) {
    CurlUrl url;
    if (std::string problem = UrlHostProblem(server.host); !problem.empty()) {
        url.error = "Invalid server address: " + problem;
        return url;
    }
    if (server.port < 1 || server.port > 65535) {
        url.error = "Invalid server address: the port must be a number from 1 to 65535";
        return url;
    }
    url.text = server.security == SmtpSecurity::ImplicitTls ? "smtps://" : "smtp://";
    if (!server.hasPassword && !server.user.empty()) url.text += PercentEncoded(server.user) + "@";
    url.text += UrlHostText(server.host) + ":" + std::to_string(server.port) + "/";
    url.text += PercentEncoded(ehloName);
    return url;
}

}  // namespace vigilon
