#include <gtest/gtest.h>

#include "SmtpServerAddress.h"

namespace vigilon {
namespace {

TEST(SmtpServerAddressTest, BareHostStaysAsWritten) {
    for (const std::string field : {"mail.example.org", "192.0.2.25", "", " odd name "}) {
        const SmtpServerAddress a = SmtpServerAddress::Parse(field);
        EXPECT_EQ(a.security, SmtpSecurity::Plain);
        EXPECT_EQ(a.host, field);
        EXPECT_EQ(a.port, 0);
        EXPECT_EQ(a.display, field);
        EXPECT_EQ(a.error, "");
    }
}

TEST(SmtpServerAddressTest, UrlsGiveSecurityPortLoginAndName) {
    const SmtpServerAddress submission = SmtpServerAddress::Parse("smtp://mail.example.org");
    EXPECT_EQ(submission.security, SmtpSecurity::StartTls);
    EXPECT_EQ(submission.host, "mail.example.org");
    EXPECT_EQ(submission.port, 587);
    EXPECT_EQ(submission.user, "");
    EXPECT_FALSE(submission.hasPassword);

    const SmtpServerAddress tls =
        SmtpServerAddress::Parse("SMTPS://a%2Bb%40example.org@192.0.2.25/");
    EXPECT_EQ(tls.security, SmtpSecurity::ImplicitTls);
    EXPECT_EQ(tls.port, 465);
    EXPECT_EQ(tls.user, "a+b@example.org");
    EXPECT_FALSE(tls.hasPassword);  // from ~/.netrc
    EXPECT_EQ(tls.heloName, "");

    // The last '@' ends the login, so an unescaped '@' or '/' in a password stays in it.
    const SmtpServerAddress full = SmtpServerAddress::Parse(
        "smtp://me:p%3Aw%25d@x/y@relay.example.org:2525/client.example.org");
    EXPECT_EQ(full.error, "");
    EXPECT_EQ(full.host, "relay.example.org");
    EXPECT_EQ(full.port, 2525);
    EXPECT_EQ(full.user, "me");
    EXPECT_EQ(full.password, "p:w%d@x/y");
    EXPECT_TRUE(full.hasPassword);
    EXPECT_EQ(full.heloName, "client.example.org");
    EXPECT_EQ(full.display, "smtp://me@relay.example.org:2525/client.example.org");

    const SmtpServerAddress emptyPassword = SmtpServerAddress::Parse("smtp://me:@h");
    EXPECT_TRUE(emptyPassword.hasPassword);
    EXPECT_EQ(emptyPassword.password, "");

    // An IPv6 address stands in brackets, which the host is kept without.
    const SmtpServerAddress v6 = SmtpServerAddress::Parse("smtps://me:pw@[2001:db8::25]:2465/n");
    EXPECT_EQ(v6.error, "");
    EXPECT_EQ(v6.host, "2001:db8::25");
    EXPECT_EQ(v6.port, 2465);
    EXPECT_EQ(v6.display, "smtps://me@[2001:db8::25]:2465/n");
    EXPECT_EQ(SmtpServerAddress::Parse("smtp://[::1]").port, 587);

    for (const std::string host :
         {"mail_relay-2.example.org", "192.0.2.25", "m\xC3\xA4il.example"}) {
        const SmtpServerAddress a = SmtpServerAddress::Parse("smtp://" + host + ":25");
        EXPECT_EQ(a.error, "") << host;
        EXPECT_EQ(a.host, host);
    }
}

TEST(SmtpServerAddressTest, UnusableFieldsSayWhyAndHideThePassword) {
    const struct {
        const char* field;
        const char* display;
        const char* host;  // still known, for the self-test's ping
        const char* error;
    } cases[] = {
        {"imap://me:pw@h", "imap://me@h", "h", "the address must start with smtp:// or smtps://"},
        {"://me:pw@h", "://me@h", "h", "the address must start with smtp:// or smtps://"},
        {"smtp://me:pw@", "smtp://me@", "", "the host is missing"},
        {"smtp://me:pw@h:", "smtp://me@h:", "h", "the port must be a number from 1 to 65535"},
        {"smtp://h:65536", "smtp://h:65536", "h", "the port must be a number from 1 to 65535"},
        {"smtp://h:25x", "smtp://h:25x", "h", "the port must be a number from 1 to 65535"},
        {"smtp://h:0", "smtp://h:0", "h", "the port must be a number from 1 to 65535"},
        {"smtp://h:-25", "smtp://h:-25", "h", "the port must be a number from 1 to 65535"},
        {"smtp://:99999", "smtp://:99999", "", "the host is missing"},
        // What would change the URL's meaning, or a log line's, is refused.
        {"smtp://me:pw@h#x", "smtp://me@h#x", "h#x",
         "the host may hold only letters, digits, '.', '-' and '_', not '#'"},
        {"smtp://h?x:25", "smtp://h?x:25", "h?x",
         "the host may hold only letters, digits, '.', '-' and '_', not '?'"},
        {"smtp://h%2Fx", "smtp://h%2Fx", "h%2Fx",
         "the host may hold only letters, digits, '.', '-' and '_', not '%'"},
        {"smtp://mail host", "smtp://mail host", "mail host",
         "the host may hold only letters, digits, '.', '-' and '_', not a space"},
        {"smtp://h\r\nx", "smtp://h\r\nx", "h\r\nx",
         "the host may hold only letters, digits, '.', '-' and '_', not a control character"},
        {"smtp://2001:db8::25", "smtp://2001:db8::25", "2001",
         "an IPv6 address must stand in brackets, as in [2001:db8::25]"},
        {"smtp://[2001:db8::25", "smtp://[2001:db8::25", "",
         "the ']' after the IPv6 address is missing"},
        {"smtp://[2001:db8::25]25", "smtp://[2001:db8::25]25", "2001:db8::25",
         "only ':' and a port may follow the ']' of the host"},
        {"smtp://[mail.example.org]", "smtp://[mail.example.org]", "mail.example.org",
         "the host in brackets is not an IPv6 address"},
        {"smtp://[2001:db8::zz]", "smtp://[2001:db8::zz]", "2001:db8::zz",
         "the host in brackets is not an IPv6 address"},
        {"smtp://[::1]:65536", "smtp://[::1]:65536", "::1",
         "the port must be a number from 1 to 65535"},
        {"smtp://h/a b", "smtp://h/a b", "h",
         "the name after '/' may hold only letters, digits, '.', '-' and '_'"},
        {"smtp://me%4:pw@h", "smtp://me%4@h", "h", "bad percent-escape in the user name"},
        {"smtp://me:pw%zz@h", "smtp://me@h", "h", "bad percent-escape in the password"},
        {"smtp://me:pw%00@h", "smtp://me@h", "h", "bad percent-escape in the password"},
        {"me:pw@mail.example.org", "me@mail.example.org", "mail.example.org", nullptr},
        // A "://" in the password or after the host of a field without a
        // scheme is no scheme's: the password stays hidden.
        {"me:pw://x@mail.example.org", "me@mail.example.org", "mail.example.org", nullptr},
        {"me:pw@mail.example.org://x", "me@mail.example.org://x", "mail.example.org://x", nullptr},
        {"smtp:://me:pw@h", "smtp@h", "h", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        const SmtpServerAddress a = SmtpServerAddress::Parse(c.field);
        EXPECT_EQ(a.display, c.display);
        EXPECT_EQ(a.host, c.host);
        EXPECT_EQ(ShownServer(c.field), c.display);
        EXPECT_EQ(a.error,
                  c.error != nullptr
                      ? std::string("Invalid server address: ") + c.error
                      : "Invalid server address: a login needs smtp:// or smtps:// in front");
        EXPECT_EQ(a.error.find("pw"), std::string::npos);
    }
}

// libcurl takes user and password as C strings, which a NUL would cut short:
// one that came in unescaped (from a damaged settings file) is refused as
// the escaped one is.
TEST(SmtpServerAddressTest, NulInTheLoginIsRefused) {
    using namespace std::string_literals;
    EXPECT_EQ(SmtpServerAddress::Parse("smtp://me:p\0w@h"s).error,
              "Invalid server address: bad percent-escape in the password");
    EXPECT_EQ(SmtpServerAddress::Parse("smtp://m\0e:pw@h"s).error,
              "Invalid server address: bad percent-escape in the user name");
    EXPECT_EQ(SmtpServerAddress::Parse("smtp://me:p%00w@h").error,
              "Invalid server address: bad percent-escape in the password");
}

}  // namespace
}  // namespace vigilon
