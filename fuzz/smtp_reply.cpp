// What an SMTP server sends, in whatever pieces it arrives. Checks that the
// reply scanner stays inside the bytes, that a complete reply ends at a line
// end, and that the answer does not depend on how the bytes were cut up: a
// shorter piece is still incomplete, more bytes after it change nothing.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "SmtpReply.h"

using vigilon::ReplyCode;
using vigilon::ReplyScan;
using vigilon::ScanReply;

namespace {

bool Same(const ReplyScan& a, const ReplyScan& b) {
    return a.complete == b.complete && a.code == b.code && a.length == b.length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view received(reinterpret_cast<const char*>(data), size);
    const ReplyScan scan = ScanReply(received);
    FUZZ_CHECK(scan.code >= 0 && scan.code <= 999);
    FUZZ_CHECK(ReplyCode(received) >= 0 && ReplyCode(received) <= 999);

    if (!scan.complete) {
        FUZZ_CHECK(scan.code == 0 && scan.length == 0);
        // No prefix of an incomplete reply is complete: the scanner never
        // answers too early and then changes its mind.
        FUZZ_CHECK(!ScanReply(received.substr(0, size / 2)).complete);
        return 0;
    }

    FUZZ_CHECK(scan.length >= 1 && scan.length <= size);
    FUZZ_CHECK(received[scan.length - 1] == '\n');
    // The reply alone says the same; one byte less and it is not there yet.
    const std::string_view reply = received.substr(0, scan.length);
    FUZZ_CHECK(Same(ScanReply(reply), scan));
    FUZZ_CHECK(!ScanReply(reply.substr(0, scan.length - 1)).complete);
    FUZZ_CHECK(!ScanReply(reply.substr(0, scan.length / 2)).complete);
    // The next reply behind it, already received, changes nothing.
    FUZZ_CHECK(Same(ScanReply(std::string(reply) + "250 OK\r\n"), scan));

    // The final line's code is its three leading digits when it has them.
    const std::size_t finalStart = reply.rfind('\n', scan.length - 2);
    const std::string_view finalLine =
        reply.substr(finalStart == std::string_view::npos ? 0 : finalStart + 1);
    if (finalLine.size() >= 3 && std::isdigit(static_cast<unsigned char>(finalLine[0])) &&
        std::isdigit(static_cast<unsigned char>(finalLine[1])) &&
        std::isdigit(static_cast<unsigned char>(finalLine[2])))
        FUZZ_CHECK(scan.code ==
                   (finalLine[0] - '0') * 100 + (finalLine[1] - '0') * 10 + (finalLine[2] - '0'));
    return 0;
}
