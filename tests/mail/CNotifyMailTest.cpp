#include <gtest/gtest.h>

#include <optional>
#include <regex>

#include "CNotifyMail.h"
#include "HeloName.h"
#include "MessageId.h"
#include "ScopedTimeZone.h"

namespace vigilon {
namespace {

std::vector<std::pair<std::string, std::string>> Recipients(const CNotifyMail& mail) {
    std::vector<std::pair<std::string, std::string>> out;
    for (std::int32_t i = 0; i < mail.GetNumRecipients(); ++i) {
        std::string address, name;
        EXPECT_TRUE(mail.GetRecipient(address, name, i));
        out.emplace_back(address, name);
    }
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(RecipientList, SplitsPlainAddressesAtSemicolons) {
    CNotifyMail mail;
    EXPECT_TRUE(mail.AddMultipleRecipients("a@x.org;b@y.org"));
    EXPECT_EQ(Recipients(mail), (Pairs{{"a@x.org", ""}, {"b@y.org", ""}}));
}

TEST(RecipientList, TakesNameBeforeBracketWithItsTrailingBlank) {
    CNotifyMail mail;
    EXPECT_TRUE(mail.AddMultipleRecipients("Team <team@x.org> ignored"));
    EXPECT_EQ(Recipients(mail), (Pairs{{"team@x.org", "Team "}}));
}

TEST(RecipientList, KeepsBlanksAndEmptyPieces) {
    CNotifyMail mail;
    EXPECT_TRUE(mail.AddMultipleRecipients("a@x.org; b@y.org;"));
    EXPECT_EQ(Recipients(mail), (Pairs{{"a@x.org", ""}, {" b@y.org", ""}, {"", ""}}));

    CNotifyMail empty;
    EXPECT_TRUE(empty.AddMultipleRecipients(""));
    EXPECT_EQ(Recipients(empty), (Pairs{{"", ""}}));
}

TEST(RecipientList, StopsAtMalformedPieceKeepingEarlierOnes) {
    CNotifyMail noClose;
    EXPECT_FALSE(noClose.AddMultipleRecipients("a@x.org;Bob <bob@y.org;c@z.org"));
    EXPECT_EQ(Recipients(noClose), (Pairs{{"a@x.org", ""}}));

    CNotifyMail closeFirst;
    EXPECT_FALSE(closeFirst.AddMultipleRecipients("a@x.org;>b<"));
    EXPECT_EQ(closeFirst.GetNumRecipients(), 1);
}

TEST(RecipientList, GetRecipientOutsideRangeLeavesOutputs) {
    CNotifyMail mail;
    mail.AddRecipient("a@x.org", "A");
    std::string address = "keep", name = "keep";
    EXPECT_FALSE(mail.GetRecipient(address, name, 1));
    EXPECT_FALSE(mail.GetRecipient(address, name, -1));
    EXPECT_EQ(address, "keep");
    EXPECT_EQ(name, "keep");
}

TEST(MailHeader, ListsRecipientsCommaSeparatedWithoutBlank) {
    CNotifyMail mail;
    mail.from = "watch@x.org";
    mail.subject = "host - OFFLINE";
    mail.AddMultipleRecipients("a@x.org;Team <t@y.org>");
    ASSERT_TRUE(mail.PrepareHeader());

    EXPECT_NE(mail.dateTime, 0);
    const std::string afterDate = mail.header.substr(mail.header.find("\r\n") + 2);
    EXPECT_TRUE(mail.header.starts_with("Date: "));
    const std::string fixed =
        "From: watch@x.org\r\nTo: <a@x.org>,Team <t@y.org>\r\nSubject: host - OFFLINE\r\n";
    EXPECT_EQ(afterDate.substr(0, fixed.size()), fixed);
    EXPECT_TRUE(
        std::regex_match(afterDate.substr(fixed.size()),
                         std::regex("Message-ID: <[0-9]+\\.[0-9a-f]{16}\\.vigilon@x\\.org>\r\n")))
        << afterDate;
}

// Each message its own Message-ID; each try of one message the same.
TEST(MailHeader, MessageIdTellsMessagesApartButNotTriesOfOne) {
    auto header = [](std::optional<std::uint64_t> key) {
        CNotifyMail mail;
        mail.from = "Vigilon";  // no domain: the machine's name stands in
        mail.AddRecipient("a@x.org", "");
        mail.date = 1'000'000'000;
        mail.messageKey = key;
        mail.PrepareHeader();
        return mail.header.substr(mail.header.find("Message-ID: "));
    };
    EXPECT_NE(header(std::nullopt), header(std::nullopt));
    EXPECT_EQ(header(42), header(42));
    EXPECT_EQ(
        header(42),
        "Message-ID: " + MakeMessageId(42, 1'000'000'000, MessageIdDomain("Vigilon", HeloName())) +
            "\r\n");
    EXPECT_EQ(MessageIdDomain("Ops <ops@mail.example.org>", "host"), "mail.example.org");
    EXPECT_EQ(MessageIdDomain("ops@bad domain", "watcher.example"), "watcher.example");
    EXPECT_EQ(MessageIdDomain("Vigilon", "bad..name"), "localhost");
}

TEST(MailHeader, GivenDateIsTheDateLineHoweverLateItGoes) {
    test::ScopedTimeZone zone("UTC0");
    CNotifyMail mail;
    mail.AddRecipient("a@x.org", "");
    mail.date = 1'000'000'000;
    ASSERT_TRUE(mail.PrepareHeader());
    EXPECT_EQ(mail.dateTime, 1'000'000'000);
    EXPECT_TRUE(mail.header.starts_with("Date: Sun, 09 Sep 2001 01:46:40 +0000\r\nFrom: \r\n"))
        << mail.header;
}

TEST(MailHeader, FailsWithoutRecipientsAndKeepsOldHeader) {
    CNotifyMail mail;
    mail.header = "earlier";
    EXPECT_FALSE(mail.PrepareHeader());
    EXPECT_EQ(mail.header, "earlier");
}

TEST(MailHeader, LineBreakInAnyHeaderFieldIsFound) {
    CNotifyMail clean;
    clean.from = "a@x.org";
    clean.subject = "fine";
    clean.AddRecipient("b@y.org", "B");
    EXPECT_EQ(clean.FindLineBreakField(), "");

    CNotifyMail from = clean;
    from.from = "a@x.org>\r\nRCPT TO: <evil@z.org";
    EXPECT_EQ(from.FindLineBreakField(), "Message refused: line break in the sender address");

    CNotifyMail address = clean;
    address.AddRecipient("c@y.org\nDATA", "");
    EXPECT_EQ(address.FindLineBreakField(), "Message refused: line break in a recipient");

    CNotifyMail name = clean;
    name.AddRecipient("c@y.org", "C\rBcc: d@z.org");
    EXPECT_EQ(name.FindLineBreakField(), "Message refused: line break in a recipient");

    CNotifyMail subject = clean;
    subject.subject = "hi\r\nBcc: d@z.org";
    EXPECT_EQ(subject.FindLineBreakField(), "Message refused: line break in the subject");
}

}  // namespace
}  // namespace vigilon
