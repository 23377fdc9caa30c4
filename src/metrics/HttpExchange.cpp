#include "HttpExchange.h"

namespace vigilon::metrics {

namespace {

std::string Response(std::string_view status, std::string_view extraHeaders, std::string_view body,
                     std::string_view type = "text/plain; charset=utf-8") {
    std::string out;
    out.reserve(160 + body.size());
    out += "HTTP/1.1 ";
    out += status;
    out += "\r\nContent-Type: ";
    out += type;
    out += "\r\nContent-Length: ";
    out += std::to_string(body.size());
    out += "\r\nConnection: close\r\n";
    out += extraHeaders;
    out += "\r\n";
    out += body;
    return out;
}

}  // namespace

RequestState ReadRequestState(std::string_view received) {
    const std::size_t end = received.find("\r\n\r\n");
    if (end != std::string_view::npos)
        return end + 4 <= kMaxRequestHead ? RequestState::Complete : RequestState::TooLong;
    // Some clients end lines with a bare LF.
    if (received.find("\n\n") != std::string_view::npos) return RequestState::Complete;
    return received.size() >= kMaxRequestHead ? RequestState::TooLong : RequestState::Incomplete;
}

std::string RespondTo(std::string_view head, const std::string& metrics) {
    const std::string_view line = head.substr(0, head.find_first_of("\r\n"));
    const std::size_t firstSpace = line.find(' ');
    const std::size_t secondSpace = line.find(' ', firstSpace + 1);
    if (firstSpace == std::string_view::npos || secondSpace == std::string_view::npos ||
        !line.substr(secondSpace + 1).starts_with("HTTP/1."))
        return Response("400 Bad Request", "", "Bad Request\n");
    const std::string_view method = line.substr(0, firstSpace);
    std::string_view target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    target = target.substr(0, target.find('?'));

    if (target != "/metrics") return Response("404 Not Found", "", "Not Found: try /metrics\n");
    if (method != "GET")
        return Response("405 Method Not Allowed", "Allow: GET\r\n", "Method Not Allowed\n");
    return Response("200 OK", "", metrics, "text/plain; version=0.0.4; charset=utf-8");
}

std::string TooLongResponse() {
    return Response("431 Request Header Fields Too Large", "", "Too Large\n");
}

}  // namespace vigilon::metrics
