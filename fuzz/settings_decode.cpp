// The settings file Vigilon.dat as it may be found on disk: written by any
// version, cut short, damaged or planted. Checks that decoding stays inside
// the bytes, keeps the fields it did not reach, and that what it read is a
// record the program saves and loads back unchanged.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "SettingsCodec.h"

namespace {

using vigilon::DecodeSettings;
using vigilon::EncodeSettings;
using vigilon::MonitorSettings;

// Values no file of the fuzzer's is likely to hold, so that a field the
// decoder claims it did not reach shows whether it was touched after all.
MonitorSettings Untouched() {
    MonitorSettings s;
    s.targetAddress = "untouched target";
    s.pingFrequency = -7001;
    s.controlAddress = "untouched control";
    s.mailFrom = "untouched from";
    s.mailTo = "untouched to";
    s.smtpServer1 = "untouched server 1";
    s.smtpServer2 = "untouched server 2";
    s.timeoutsBeforeEmail = -7002;
    s.logEnabled = -7003;
    s.emailEnabled = -7004;
    s.autoMinimize = -7005;
    return s;
}

// Field index (file order) of the record, compared as its kind.
bool SameField(const MonitorSettings& a, const MonitorSettings& b, int index) {
    switch (index) {
        case 0: return a.targetAddress == b.targetAddress;
        case 1: return a.pingFrequency == b.pingFrequency;
        case 2: return a.controlAddress == b.controlAddress;
        case 3: return a.mailFrom == b.mailFrom;
        case 4: return a.mailTo == b.mailTo;
        case 5: return a.smtpServer1 == b.smtpServer1;
        case 6: return a.smtpServer2 == b.smtpServer2;
        case 7: return a.timeoutsBeforeEmail == b.timeoutsBeforeEmail;
        case 8: return a.logEnabled == b.logEnabled;
        case 9: return a.emailEnabled == b.emailEnabled;
        case 10: return a.autoMinimize == b.autoMinimize;
        default: return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const MonitorSettings before = Untouched();
    MonitorSettings loaded = before;
    const vigilon::SettingsDecode decode = DecodeSettings(file, loaded);
    FUZZ_CHECK(decode.fieldsRead >= 0 && decode.fieldsRead <= vigilon::kSettingsFieldCount);
    for (int index = decode.fieldsRead; index < vigilon::kSettingsFieldCount; ++index)
        FUZZ_CHECK(SameField(loaded, before, index));

    // What was loaded is saved whole, and the save loads back as it was.
    const std::vector<std::uint8_t> saved = EncodeSettings(loaded);
    MonitorSettings reloaded = before;
    FUZZ_CHECK(DecodeSettings(saved, reloaded).Complete());
    FUZZ_CHECK(reloaded == loaded);
    // A save is the shortest form: it says the same thing again.
    FUZZ_CHECK(EncodeSettings(reloaded) == saved);

    // A save cut by its last byte (a full disk) never loads as complete.
    MonitorSettings cut = before;
    const std::span<const std::uint8_t> shorter(saved.data(), saved.size() - 1);
    FUZZ_CHECK(!DecodeSettings(shorter, cut).Complete());

    // Bytes after the eleventh field change nothing.
    if (decode.Complete()) {
        std::vector<std::uint8_t> longer(saved);
        longer.insert(longer.end(), file.begin(), file.end());
        MonitorSettings withTail = before;
        FUZZ_CHECK(DecodeSettings(longer, withTail).Complete());
        FUZZ_CHECK(withTail == loaded);
    }
    return 0;
}
