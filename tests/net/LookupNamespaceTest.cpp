// Forward and reverse lookups against a namespace's own resolver files: a
// hosts file, and a name server at a local address where nothing listens.

#include <gtest/gtest.h>

#include "NamespaceFixture.h"

namespace vigilon::test {
namespace {

class LookupNamespaceTest : public NamespaceTest {
protected:
    void SetUp() override {
        NamespaceTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(WriteResolverFiles(""));
    }

    bool WriteResolverFiles(const std::string& extraHosts) {
        return space->WriteEtcFile("hosts",
                                   "127.0.0.1 localhost\n"
                                   "10.1.2.3 testhost.vigilon\n"
                                   "10.1.2.4 multi.vigilon\n"
                                   "10.1.2.5 multi.vigilon\n"
                                   "2001:db8::7 six.vigilon\n"
                                   "::1 loop6.vigilon\n" +
                                       extraHosts) &&
               space->WriteEtcFile("resolv.conf", "nameserver 127.0.0.1\n") &&
               space->WriteEtcFile("nsswitch.conf", "hosts: files dns\n");
    }

    std::string Lookup(const std::string& command, const std::string& text) {
        const HelperRun run = Run({command, text});
        EXPECT_EQ(run.results.size(), 1u) << run.output;
        // A failing lookup must come back at once, not after resolver retries.
        if (!run.elapsedMs.empty()) {
            EXPECT_LT(run.elapsedMs[0], 3000) << text;
        }
        return run.results.empty() ? run.output : run.results[0];
    }
};

TEST_F(LookupNamespaceTest, DottedAddressComesBackUnchanged) {
    EXPECT_EQ(Lookup("lookup-address", "192.0.2.7"), "192.0.2.7");
}

TEST_F(LookupNamespaceTest, NameGivesTheFirstAddressListed) {
    EXPECT_EQ(Lookup("lookup-address", "testhost.vigilon"), "10.1.2.3");
    EXPECT_EQ(Lookup("lookup-address", "multi.vigilon"), "10.1.2.4");
}

TEST_F(LookupNamespaceTest, Ipv6AddressesGoBothWaysInTheirShortestText) {
    EXPECT_EQ(Lookup("lookup-address", "six.vigilon"), "2001:db8::7");
    EXPECT_EQ(Lookup("lookup-address", "2001:0DB8:0:0::7"), "2001:db8::7");
    EXPECT_EQ(Lookup("lookup-name", "2001:db8::7"), "six.vigilon");
    EXPECT_EQ(Lookup("lookup-name", "2001:db8::8"), "Can't resolve 2001:db8::8");
}

TEST_F(LookupNamespaceTest, UnknownNameFailsFastWithTheNameUnchanged) {
    EXPECT_EQ(Lookup("lookup-address", "no-such-host.vigilon"),
              "Can't resolve no-such-host.vigilon");
}

TEST_F(LookupNamespaceTest, AddressGivesItsRegisteredName) {
    EXPECT_EQ(Lookup("lookup-name", "10.1.2.3"), "testhost.vigilon");
}

TEST_F(LookupNamespaceTest, AddressWithoutReverseEntryCannotBeResolved) {
    EXPECT_EQ(Lookup("lookup-name", "10.9.9.9"), "Can't resolve 10.9.9.9");
}

TEST_F(LookupNamespaceTest, FailedForwardResultIsLookedUpAsAllOnes) {
    EXPECT_EQ(Lookup("lookup-name", "Can't resolve nowhere"),
              "Can't resolve Can't resolve nowhere");
    ASSERT_TRUE(WriteResolverFiles("255.255.255.255 allones.vigilon\n"));
    EXPECT_EQ(Lookup("lookup-name", "Can't resolve nowhere"), "allones.vigilon");
}

// A failed lookup leaves nothing behind: the next one asks again.
TEST_F(LookupNamespaceTest, NameAddedToTheHostsFileIsFoundByTheNextLookup) {
    const HelperRun run =
        Run({"--hosts-file", space->EtcFile("hosts"), "lookup-address", "late.vigilon",
             "lookup-name", "10.1.2.9", "add-host", "10.1.2.9 late.vigilon", "lookup-address",
             "late.vigilon", "lookup-name", "10.1.2.9"});
    EXPECT_EQ(run.results,
              (std::vector<std::string>{"Can't resolve late.vigilon", "Can't resolve 10.1.2.9",
                                        "10.1.2.9", "late.vigilon"}))
        << run.output;
}

TEST_F(LookupNamespaceTest, ProbeResolvesItsTargetByName) {
    const HelperRun run = Run({"ping", "localhost,loop6.vigilon", "32", "2"});
    ASSERT_EQ(run.results.size(), 2u) << run.output;
    EXPECT_EQ(run.results[0].rfind("64 bytes from 127.0.0.1: icmp_seq = 0.  time: ", 0), 0u)
        << run.results[0];
    EXPECT_EQ(run.results[1].rfind("84 bytes from ::1: icmp_seq = 1.  time: ", 0), 0u)
        << run.results[1];
}

TEST_F(LookupNamespaceTest, ProbeShowsAndReturnsAnUnresolvableTarget) {
    const HelperRun run = Run({"ping", "no-such-host.vigilon", "32", "1"});
    ASSERT_EQ(run.results.size(), 1u) << run.output;
    EXPECT_EQ(run.results[0], "Unable to resolve no-such-host.vigilon");
    EXPECT_EQ(run.boxes, std::vector<std::string>{"Unable to resolve no-such-host.vigilon"});
}

}  // namespace
}  // namespace vigilon::test
