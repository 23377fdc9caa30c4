// The waiting-mail file Vigilon.mail as it may be found on disk: cut short
// by a crash, damaged, or from another version. Checks that decoding keeps to
// the bytes, that the mails it keeps are saved and loaded back unchanged, and
// that a cut file is always told apart from a whole one.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "WaitingMailCodec.h"

using vigilon::DecodeWaitingMails;
using vigilon::EncodeWaitingMails;
using vigilon::WaitingMailDecode;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WaitingMailDecode decode = DecodeWaitingMails(std::span<const std::uint8_t>(data, size));
    // Every mail takes at least a head line and five texts of "0:\n".
    FUZZ_CHECK(decode.mails.size() <= size / 20);

    // The mails kept are saved and come back whole, and nothing else does.
    const std::vector<std::uint8_t> saved = EncodeWaitingMails(decode.mails);
    const WaitingMailDecode reloaded = DecodeWaitingMails(saved);
    FUZZ_CHECK(reloaded.damage.empty());
    FUZZ_CHECK(reloaded.mails == decode.mails);
    FUZZ_CHECK(EncodeWaitingMails(reloaded.mails) == saved);

    // A save cut anywhere in its last mail loses that mail and says so.
    if (!decode.mails.empty()) {
        const std::span<const std::uint8_t> cut(saved.data(), saved.size() - 1);
        const WaitingMailDecode partial = DecodeWaitingMails(cut);
        FUZZ_CHECK(!partial.damage.empty());
        FUZZ_CHECK(partial.mails.size() == decode.mails.size() - 1);
    }
    return 0;
}
