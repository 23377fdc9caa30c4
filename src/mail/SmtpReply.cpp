#include "SmtpReply.h"

namespace vigilon {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsContinuationLine(std::string_view line) {
    return line.size() >= 4 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]) &&
           line[3] == '-';
}

}  // namespace

ReplyScan ScanReply(std::string_view received) {
    std::size_t lineStart = 0;
    for (;;) {
        const std::size_t lineEnd = received.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) return {};
        // A lone LF is accepted as a line end too: a sloppy server is still
        // understood rather than waited on until the time-out.
        std::string_view line = received.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!IsContinuationLine(line)) return {true, ReplyCode(line), lineEnd + 1};
        lineStart = lineEnd + 1;
    }
}

int ReplyCode(std::string_view line) {
    std::string_view head = line.substr(0, 3);
    std::size_t i = 0;
    while (i < head.size() && head[i] == ' ')
        ++i;
    int code = 0;
    for (; i < head.size() && IsDigit(head[i]); ++i)
        code = code * 10 + (head[i] - '0');
    return code;
}

}  // namespace vigilon
