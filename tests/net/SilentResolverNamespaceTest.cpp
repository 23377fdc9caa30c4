// Lookups against a name server that never answers, with resolver options
// that would make each wait two minutes: they give up after 10 s.

#include <gtest/gtest.h>

#include <future>

#include "NamespaceFixture.h"
#include "SilentNameServer.h"

namespace vigilon::test {
namespace {

class SilentResolverTest : public NamespaceTest {
protected:
    void SetUp() override {
        NamespaceTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(space->WriteEtcFile("hosts", "127.0.0.1 localhost\n") &&
                    space->WriteEtcFile("resolv.conf",
                                        "nameserver 127.0.0.1\noptions timeout:20 attempts:3\n") &&
                    space->WriteEtcFile("nsswitch.conf", "hosts: files dns\n"));
        server = std::make_unique<SilentNameServer>(*space);
        ASSERT_TRUE(server->Ok()) << "the silent name server could not take 127.0.0.1:53";
    }

    std::unique_ptr<SilentNameServer> server;
};

// The second forward lookup finds the first one's helper still waiting,
// and waits its own 10 s for it.
TEST_F(SilentResolverTest, ForwardAndReverseLookupsGiveUpAfterTenSeconds) {
    auto reverse = std::async(std::launch::async, [this] {
        return Run({"lookup-name", "10.9.9.9"});
    });
    const HelperRun forward =
        Run({"lookup-address", "silent.vigilon", "lookup-address", "silent.vigilon"});
    const HelperRun backward = reverse.get();

    EXPECT_EQ(forward.results, (std::vector<std::string>{"Can't resolve silent.vigilon",
                                                         "Can't resolve silent.vigilon"}))
        << forward.output;
    EXPECT_EQ(backward.results, std::vector<std::string>{"Can't resolve 10.9.9.9"})
        << backward.output;
    std::vector<long> elapsed = forward.elapsedMs;
    elapsed.insert(elapsed.end(), backward.elapsedMs.begin(), backward.elapsedMs.end());
    ASSERT_EQ(elapsed.size(), 3u);
    for (const long ms : elapsed) {
        EXPECT_GE(ms, 9900);
        EXPECT_LT(ms, 15000);
    }
}

}  // namespace
}  // namespace vigilon::test
