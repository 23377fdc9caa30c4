// The URL libcurl is given, made from a parsed server field.
#include <gtest/gtest.h>

#include "CurlUrl.h"

namespace vigilon {
namespace {

SmtpServerAddress Server(const std::string& host, const std::string& user = "") {
    SmtpServerAddress server;
    server.security = SmtpSecurity::StartTls;
    server.host = host;
    server.port = 587;
    server.user = user;
    return server;
}

TEST(CurlUrlTest, EachPartIsEscapedForItsPlace) {
    // The user of a ~/.netrc login, with every byte that means something in a URL.
    const CurlUrl netrcLogin =
        CurlUrlFor(Server("mail.example.org", "a@b:c/d%e f\xC3\xBC"), "client.example");
    EXPECT_EQ(netrcLogin.error, "");
    EXPECT_EQ(netrcLogin.text,
              "smtp://a%40b%3Ac%2Fd%25e%20f%C3%BC@mail.example.org:587/client.example");

    // With a password neither it nor the user is in the URL: libcurl gets both apart.
    SmtpServerAddress withPassword = Server("192.0.2.25", "alice");
    withPassword.security = SmtpSecurity::ImplicitTls;
    withPassword.port = 465;
    withPassword.password = "p@ss";
    withPassword.hasPassword = true;
    EXPECT_EQ(CurlUrlFor(withPassword, "my host/x").text, "smtps://192.0.2.25:465/my%20host%2Fx");

    EXPECT_EQ(CurlUrlFor(Server("2001:db8::25"), "n").text, "smtp://[2001:db8::25]:587/n");

    // A parsed field comes back as it was written.
    const std::string field = "smtp://a%40b%3Ac@relay.example.org:2525/n";
    EXPECT_EQ(CurlUrlFor(SmtpServerAddress::Parse(field), "n").text, field);
}

TEST(CurlUrlTest, AHostOrPortAUrlCannotCarryIsRefused) {
    for (const std::string host :
         {"", "h#x", "h?x", "h/x", "u@h", "h x", "h\r\n", "[::1]", "2001:db8::zz"}) {
        const CurlUrl url = CurlUrlFor(Server(host), "n");
        EXPECT_EQ(url.text, "") << host;
        EXPECT_TRUE(url.error.starts_with("Invalid server address: the host")) << url.error;
    }
    SmtpServerAddress noPort = Server("h");
    noPort.port = 0;
    EXPECT_EQ(CurlUrlFor(noPort, "n").error,
              "Invalid server address: the port must be a number from 1 to 65535");
}

}  // namespace
}  // namespace vigilon
