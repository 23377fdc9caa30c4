#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsCodec.h"
#include "StoreTestDir.h"

namespace vigilon::test {
namespace {

// The record's eleven fields as texts, in file order, to compare which
// fields a partial read replaced.
std::vector<std::string> Fields(const MonitorSettings& s) {
    return {s.targetAddress,
            std::to_string(s.pingFrequency),
            s.controlAddress,
            s.mailFrom,
            s.mailTo,
            s.smtpServer1,
            s.smtpServer2,
            std::to_string(s.timeoutsBeforeEmail),
            std::to_string(s.logEnabled),
            std::to_string(s.emailEnabled),
            std::to_string(s.autoMinimize)};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Fields 2..11 of a record with empty texts and 30, 5, 1, 1, 0.
const Bytes kAfterTarget = {0x1E, 0, 0, 0, 0,    0, 0, 0, 0,    0x05, 0, 0, 0,
                            0x01, 0, 0, 0, 0x01, 0, 0, 0, 0x00, 0,    0, 0};

MonitorSettings Sample() {
    MonitorSettings s;
    s.targetAddress = "192.0.2.1";
    s.pingFrequency = 45;
    s.controlAddress = "control.example";
    s.mailFrom = "watcher@example.org";
    s.mailTo = "a@example.org;b@example.org";
    s.smtpServer1 = "smtp1.example.org";
    s.smtpServer2 = "smtp2.example.org";
    s.timeoutsBeforeEmail = 7;
    s.logEnabled = 0;
    s.emailEnabled = 0;
    s.autoMinimize = 1;
    return s;
}

TEST(SettingsEncode, FirstRunRecordIsTheTwentySixByteFile) {
    MonitorSettings s;  // empty texts, 30, 5, 1, 1, 0
    Bytes expected = Concat({{0x00}, kAfterTarget});
    EXPECT_EQ(expected.size(), 26u);
    EXPECT_EQ(EncodeSettings(s), expected);
}

TEST(SettingsEncode, IntegersAreLittleEndianTwosComplement) {
    MonitorSettings s;
    s.pingFrequency = 0x01020304;
    s.autoMinimize = -2;
    Bytes bytes = EncodeSettings(s);
    EXPECT_EQ(Bytes(bytes.begin() + 1, bytes.begin() + 5), (Bytes{0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

struct PrefixCase {
    std::size_t length;
    Bytes prefix;
};

void PrintTo(const PrefixCase& c, std::ostream* out) { *out << c.length << " bytes"; }

class LengthPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(LengthPrefix, UsesTheShortestFormAndReadsBack) {
    const PrefixCase& c = GetParam();
    MonitorSettings s;
    s.targetAddress = std::string(c.length, 'x');
    s.targetAddress.front() = 'A';
    if (c.length > 1) s.targetAddress.back() = 'Z';
    Bytes expected =
        Concat({c.prefix, Bytes(s.targetAddress.begin(), s.targetAddress.end()), kAfterTarget});
    Bytes bytes = EncodeSettings(s);
    ASSERT_EQ(bytes.size(), expected.size());
    EXPECT_EQ(bytes, expected);

    MonitorSettings back;
    back.targetAddress = "old";
    EXPECT_TRUE(DecodeSettings(bytes, back).Complete());
    EXPECT_EQ(back, s);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LengthPrefix,
    ::testing::Values(PrefixCase{0, {0x00}}, PrefixCase{1, {0x01}}, PrefixCase{254, {0xFE}},
                      PrefixCase{255, {0xFF, 0xFF, 0x00}}, PrefixCase{300, {0xFF, 0x2C, 0x01}},
                      PrefixCase{65533, {0xFF, 0xFD, 0xFF}},
                      PrefixCase{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                      PrefixCase{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}),
    [](const ::testing::TestParamInfo<PrefixCase>& info) {
        return "Length" + std::to_string(info.param.length);
    });

TEST(SettingsDecode, RoundTripKeepsEveryFieldAsStored) {
    MonitorSettings s = Sample();
    s.pingFrequency = 5;  // below what the dialog accepts: loaded as is
    s.timeoutsBeforeEmail = 0;
    s.logEnabled = 2;
    s.mailTo = std::string("bytes \xE9\x00\xFF kept", 14);  // the NUL included
    MonitorSettings back;
    EXPECT_TRUE(DecodeSettings(EncodeSettings(s), back).Complete());
    EXPECT_EQ(back, s);
}

TEST(SettingsDecode, IgnoresBytesAfterTheEleventhField) {
    Bytes bytes = Concat({EncodeSettings(Sample()), {0xFF, 0xFF, 0xFF, 0x01}});
    MonitorSettings back;
    EXPECT_TRUE(DecodeSettings(bytes, back).Complete());
    EXPECT_EQ(back, Sample());
}

// A file cut inside field k (or right before it) loads fields 1..k-1 and
// leaves k..11 as they were, at every field and every cut point.
TEST(SettingsDecode, FileEndingInsideEachFieldLoadsOnlyTheFieldsBefore) {
    const MonitorSettings stored = Sample();
    MonitorSettings before = FirstRunSettings();
    before.targetAddress = "previous target";
    before.mailFrom = "previous sender";
    const Bytes full = EncodeSettings(stored);

    // Field sizes in this record: texts are 1 + length, integers 4.
    std::vector<std::size_t> ends;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < 11; ++i) {
        bool isText = i == 0 || (i >= 2 && i <= 6);
        offset += isText ? 1 + Fields(stored)[i].size() : 4;
        ends.push_back(offset);
    }
    ASSERT_EQ(ends.back(), full.size());

    for (std::size_t field = 0; field < 11; ++field) {
        std::size_t start = field == 0 ? 0 : ends[field - 1];
        for (std::size_t cut = start; cut < ends[field]; ++cut) {
            SCOPED_TRACE("field " + std::to_string(field + 1) + ", " + std::to_string(cut) +
                         " bytes");
            MonitorSettings s = before;
            SettingsDecode result = DecodeSettings(Bytes(full.begin(), full.begin() + cut), s);
            EXPECT_EQ(result.fieldsRead, static_cast<int>(field));
            EXPECT_FALSE(result.Complete());
            std::vector<std::string> expected = Fields(before);
            for (std::size_t i = 0; i < field; ++i)
                expected[i] = Fields(stored)[i];
            EXPECT_EQ(Fields(s), expected);
        }
    }
}

TEST(SettingsDecode, LengthBeyondTheFileStopsWithoutTakingAnything) {
    const std::vector<Bytes> prefixes = {
        {0x05, 'a', 'b'},                                             // 1-byte form
        {0xFF, 0x00, 0x01, 'a'},                                      // 2-byte form
        {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00, 'a'},              // 4-byte form
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},                   // 4 GiB
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'},    // 4 GiB, some bytes
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},  // wide, 4 G characters
        {0xFF, 0xFE, 0xFF, 0x02, 'a', 0x00, 'b'},                     // wide, odd byte short
        {0xFF, 0xFE},                                                 // marker cut short
        {0xFF, 0xFF, 0xFF, 0x01},                                     // 4-byte length cut short
    };
    for (const Bytes& prefix : prefixes) {
        SCOPED_TRACE(::testing::PrintToString(prefix));
        MonitorSettings s;
        s.targetAddress = "kept";
        SettingsDecode result = DecodeSettings(prefix, s);
        EXPECT_EQ(result.fieldsRead, 0);
        EXPECT_EQ(s.targetAddress, "kept");
    }
}

TEST(SettingsDecode, HugePrefixInALaterFieldKeepsTheEarlierOnes) {
    Bytes bytes = {0x03, 'a', 'b', 'c', 0x0A, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    bytes.resize(bytes.size() + 64, 'z');
    MonitorSettings s;
    s.controlAddress = "kept";
    EXPECT_EQ(DecodeSettings(bytes, s).fieldsRead, 2);
    EXPECT_EQ(s.targetAddress, "abc");
    EXPECT_EQ(s.pingFrequency, 10);
    EXPECT_EQ(s.controlAddress, "kept");
}

TEST(SettingsDecode, SecondWideMarkerIsDamage) {
    Bytes bytes = Concat({{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}, kAfterTarget});
    MonitorSettings s;
    EXPECT_EQ(DecodeSettings(bytes, s).fieldsRead, 0);
}

// Wide texts: FF FE FF, a character count in the narrow forms, UTF-16LE.
Bytes WideText(const std::vector<char16_t>& units, Bytes countPrefix = {}) {
    Bytes bytes = {0xFF, 0xFE, 0xFF};
    if (countPrefix.empty()) countPrefix = {static_cast<std::uint8_t>(units.size())};
    bytes.insert(bytes.end(), countPrefix.begin(), countPrefix.end());
    for (char16_t u : units) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return bytes;
}

std::string DecodeWideTarget(const Bytes& wide) {
    MonitorSettings s;
    SettingsDecode result = DecodeSettings(Concat({wide, kAfterTarget}), s);
    EXPECT_TRUE(result.Complete());
    return s.targetAddress;
}

TEST(WideText, IsReadAsUtf8AndWrittenBackInThePlainForm) {
    // "hé€" and U+1F600 as a surrogate pair.
    Bytes wide = WideText({u'h', 0x00E9, 0x20AC, 0xD83D, 0xDE00});
    MonitorSettings s;
    ASSERT_TRUE(DecodeSettings(Concat({wide, kAfterTarget}), s).Complete());
    const std::string utf8 = "h\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(s.targetAddress, utf8);
    Bytes plain = Concat(
        {{static_cast<std::uint8_t>(utf8.size())}, Bytes(utf8.begin(), utf8.end()), kAfterTarget});
    EXPECT_EQ(EncodeSettings(s), plain);
}

TEST(WideText, EmptyAndLongCountsUseTheNarrowPrefixForms) {
    EXPECT_EQ(DecodeWideTarget(WideText({})), "");
    std::vector<char16_t> many(300, u'w');
    EXPECT_EQ(DecodeWideTarget(WideText(many, {0xFF, 0x2C, 0x01})), std::string(300, 'w'));
    EXPECT_EQ(DecodeWideTarget(WideText(many, {0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0x00, 0x00})),
              std::string(300, 'w'));
}

TEST(WideText, UnpairedSurrogatesBecomeReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeWideTarget(WideText({0xD800, u'a'})), replacement + "a");
    EXPECT_EQ(DecodeWideTarget(WideText({u'a', 0xDC00})), "a" + replacement);
    EXPECT_EQ(DecodeWideTarget(WideText({0xDC00, 0xD800})), replacement + replacement);
    EXPECT_EQ(DecodeWideTarget(WideText({0xD800})), replacement);
    // The highest code point, as a check of the 4-byte UTF-8 form.
    EXPECT_EQ(DecodeWideTarget(WideText({0xDBFF, 0xDFFF})), "\xF4\x8F\xBF\xBF");
}

}  // namespace
}  // namespace vigilon::test
