// The server's name lookup counts towards the client's limits: with a name
// server that never answers, connecting ends at the connect limit or at the
// end of the exchange, whichever comes first, not after the resolver's own
// retries. A name of both families is tried address by address. Runs
// mail_exchange_helper in a private network namespace whose resolver files
// point at a silent name server.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "NetNamespace.h"
#include "RealSmtpServer.h"

namespace vigilon::test {
namespace {

struct HelperRun {
    std::string result;
    long elapsedMs = -1;
    bool resolverAsked = false;
    std::string output;
};

class MailLookupNamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = NetNamespace::WhyUnavailable();
        if (!why.empty()) GTEST_SKIP() << why;
        space_ = std::make_unique<NetNamespace>();
        ASSERT_TRUE(space_->Ok()) << space_->Error();
        // Unbounded, a lookup would wait the resolver's 30 s.
        ASSERT_TRUE(space_->WriteEtcFile("hosts", "127.0.0.1 localhost\n") &&
                    space_->WriteEtcFile("resolv.conf",
                                         "nameserver 127.0.0.1\noptions timeout:30 attempts:1\n") &&
                    space_->WriteEtcFile("nsswitch.conf", "hosts: files dns\n"));
    }

    HelperRun ConnectWithSilentResolver(const std::string& connectMs, const std::string& exchangeMs,
                                        const std::string& server = "smtp.vigilon") {
        return Connect("--silent-resolver " + server + " 25 " + connectMs + " " + exchangeMs);
    }

    HelperRun Connect(const std::string& arguments) {
        const CommandOutput out = space_->Exec(std::string(MAIL_EXCHANGE_HELPER) + " " + arguments);
        HelperRun run;
        run.output = out.output;
        std::istringstream lines(out.output);
        std::string line;
        while (std::getline(lines, line)) {
            if (line.starts_with("result: "))
                run.result = line.substr(8);
            else if (line.starts_with("elapsed: "))
                run.elapsedMs = std::stol(line.substr(9));
            else if (line == "resolver: asked")
                run.resolverAsked = true;
        }
        return run;
    }

    std::unique_ptr<NetNamespace> space_;
};

TEST_F(MailLookupNamespaceTest, UnansweredLookupEndsAtEitherLimit) {
    for (const auto& [connectMs, exchangeMs] :
         {std::pair{"500", "120000"}, std::pair{"30000", "500"}}) {
        SCOPED_TRACE(std::string("connect ") + connectMs + " ms, exchange " + exchangeMs + " ms");
        const HelperRun run = ConnectWithSilentResolver(connectMs, exchangeMs);
        EXPECT_EQ(run.result, "Unable to connect to server") << run.output;
        EXPECT_TRUE(run.resolverAsked) << "the lookup must have reached the name server";
        EXPECT_GE(run.elapsedMs, 400);
        EXPECT_LT(run.elapsedMs, 3000);
    }
}

// The same for a URL server, whose lookup libcurl makes: its connect time
// would run on to the end of the exchange, and its resolver thread would be
// waited for after giving up.
TEST_F(MailLookupNamespaceTest, UnansweredLookupOfUrlServerEndsAtTheConnectLimit) {
    const HelperRun run = ConnectWithSilentResolver("500", "120000", "smtps://smtp.vigilon");
    EXPECT_EQ(run.result, "Unable to connect to server: timed out") << run.output;
    EXPECT_TRUE(run.resolverAsked) << "the lookup must have reached the name server";
    EXPECT_GE(run.elapsedMs, 400);
    EXPECT_LT(run.elapsedMs, 3000);
}

// The server's name lists an IPv6 and an IPv4 address; whichever of them
// the resolver puts first, the client goes on to the other when nothing
// listens there, and connects over either family.
TEST_F(MailLookupNamespaceTest, NameOfBothFamiliesIsTriedAddressByAddress) {
    ASSERT_TRUE(space_->WriteEtcFile("hosts", "::1 dual.vigilon\n127.0.0.1 dual.vigilon\n"));
    const NamespaceEntry inside(*space_);
    ASSERT_TRUE(inside.Ok());
    for (const char* listening : {"::1", "127.0.0.1"}) {
        SCOPED_TRACE(std::string("the server listens on ") + listening);
        RealSmtpServer server(listening, 2525);
        ASSERT_TRUE(server.Ready()) << "aiosmtpd did not start";
        const HelperRun run = Connect("dual.vigilon 2525 5000 10000");
        EXPECT_EQ(run.result, "connected") << run.output;
    }
    RealSmtpServer v6Only("::1", 2526);
    ASSERT_TRUE(v6Only.Ready());
    EXPECT_EQ(Connect("::1 2526 5000 10000").result, "connected");
    EXPECT_EQ(Connect("127.0.0.1 2526 5000 10000").result, "Unable to connect to server");
}

}  // namespace
}  // namespace vigilon::test
