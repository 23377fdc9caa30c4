#pragma once

// Runs ravelin_ping_helper in private network namespaces and reads back what
// it printed: the records of a run over the raw socket or, as a user of the
// ping groups, over the datagram one.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "EchoResult.h"
#include "NetNamespace.h"

namespace vigilon::test {

struct Record {
    unsigned sequence;
    EchoOutcome outcome;
    int ttl;
    int bytes;
    long long roundTripUs;
    long long sentMs;
    long long settledMs;
    std::string line;
};

struct HelperRun {
    std::string started;
    std::string failed;
    std::vector<Record> records;
    std::string output;
};

inline HelperRun Parse(const CommandOutput& out) {
    HelperRun run;
    run.output = out.output;
    std::istringstream lines(out.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("started: ", 0) == 0) run.started = line.substr(9);
        if (line.rfind("failed: ", 0) == 0) run.failed = line.substr(8);
        if (line.rfind("line: ", 0) == 0 && !run.records.empty())
            run.records.back().line = line.substr(6);
        if (line.rfind("record: ", 0) != 0) continue;
        std::istringstream fields(line.substr(8));
        Record record{};
        int outcome = 0;
        fields >> record.sequence >> outcome >> record.ttl >> record.bytes >> record.roundTripUs >>
            record.sentMs >> record.settledMs;
        record.outcome = static_cast<EchoOutcome>(outcome);
        run.records.push_back(record);
    }
    return run;
}

enum class SocketKind { Raw, Datagram };

class PingNamespaceTest : public ::testing::TestWithParam<SocketKind> {
protected:
    void SetUp() override {
        const std::string why = NetNamespace::WhyUnavailable();
        if (!why.empty()) GTEST_SKIP() << why;
        client = NewSpace();
        if (GetParam() == SocketKind::Datagram) {
            ASSERT_TRUE(client->SetSysctl("net.ipv4.ping_group_range", "65534 65534"));
        }
    }

    std::unique_ptr<NetNamespace> NewSpace() {
        auto space = std::make_unique<NetNamespace>();
        EXPECT_TRUE(space->Ok()) << space->Error();
        return space;
    }

    static void Run(const NetNamespace& space, const std::string& command) {
        const CommandOutput out = space.Exec(command);
        ASSERT_EQ(out.exitCode, 0) << command << ": " << out.output;
    }

    // A second namespace joined to the client's by a veth link: the client
    // is 192.0.2.2, the other end 192.0.2.1.
    std::unique_ptr<NetNamespace> Neighbour() {
        std::unique_ptr<NetNamespace> other = NewSpace();
        Run(*client, "ip link add va type veth peer name vb netns " + other->Name());
        Run(*client, "ip addr add 192.0.2.2/24 dev va");
        Run(*client, "ip link set va up");
        Run(*other, "ip addr add 192.0.2.1/24 dev vb");
        Run(*other, "ip link set vb up");
        return other;
    }

    // The same over IPv6: the client is 2001:db8:5::2, the other end
    // 2001:db8:5::1.
    std::unique_ptr<NetNamespace> Neighbour6() {
        std::unique_ptr<NetNamespace> other = NewSpace();
        const std::string failed =
            JoinByVeth(*client, "2001:db8:5::2/64", *other, "2001:db8:5::1/64");
        EXPECT_EQ(failed, "");
        return other;
    }

    HelperRun Ping(const std::string& host, const std::string& interval, int count) {
        std::string command = RAVELIN_PING_HELPER;
        if (GetParam() == SocketKind::Datagram) command += " --user 65534";
        command += " " + host + " " + interval + " 56 " + std::to_string(count);
        return Parse(client->Exec(command));
    }

    std::unique_ptr<NetNamespace> client;
};

}  // namespace vigilon::test
