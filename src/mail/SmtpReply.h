#pragma once

#include <cstddef>
#include <string_view>

namespace vigilon {

// The first complete reply found in the bytes received so far. A reply may
// span several lines ("250-..." continues, "250 ..." or "250" ends it) and
// arrive in several pieces; it is complete once its final line, up to its
// line end, is there. Its code is read from that final line.
struct ReplyScan {
    bool complete = false;
    int code = 0;
    std::size_t length = 0;  // bytes of the reply, final line end included
};

ReplyScan ScanReply(std::string_view received);

// The decimal number in the first three characters of a reply line, leading
// blanks skipped; 0 when they hold no digits (a reply that is not SMTP).
int ReplyCode(std::string_view line);

}  // namespace vigilon
