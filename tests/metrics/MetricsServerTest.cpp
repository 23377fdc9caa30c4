// The endpoint on real sockets: scrapes, refusals, clients that stall or
// crowd it, the textfile, and promtool's check of what it serves.
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/stat.h>

#include <thread>

#include "ChildProcess.h"
#include "HttpGet.h"
#include "MetricsFile.h"
#include "MetricsRecorder.h"
#include "MetricsServer.h"
#include "NetNamespace.h"
#include "TempWorkDir.h"

namespace vigilon::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

metrics::ListenAddress AnyLoopbackPort() {
    metrics::ListenAddress address;
    EXPECT_EQ(metrics::ParseListenAddress(":1", address), "");
    reinterpret_cast<sockaddr_in*>(&address.address)->sin_port = 0;
    return address;
}

UniqueFd Connect(int port) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return socket;
}

class MetricsServerTest : public ::testing::Test {
protected:
    void Serve(metrics::ServerLimits limits = {}) {
        server = std::make_unique<metrics::MetricsServer>(snapshot, limits);
        ASSERT_EQ(server->Start(AnyLoopbackPort()), "");
        port = server->Port();
    }
    metrics::MetricsSnapshot snapshot;
    metrics::MetricsRecorder recorder{snapshot};
    std::unique_ptr<metrics::MetricsServer> server;
    int port = 0;
};

TEST_F(MetricsServerTest, ServesTheSnapshotThatPromtoolAcceptsAndRefusesTheRest) {
    TargetProbeFigures probe;
    probe.answered = true;
    probe.roundTripUs = 812;
    probe.durationUs = 900;
    probe.hopLimit = 64;
    recorder.TargetProbed(probe);
    recorder.ControlProbed(false);
    recorder.MailAttempted(true);
    recorder.StateChanged(true, 1);
    Serve();

    const std::string scrape = Get(port, "/metrics");
    ASSERT_THAT(scrape, StartsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(Body(scrape), *snapshot.Current());
    TempWorkDir dir;
    std::ofstream(dir.path / "scrape.prom") << Body(scrape);
    const CommandOutput check =
        RunCommand("promtool check metrics < " + (dir.path / "scrape.prom").string());
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output, "");

    EXPECT_THAT(Exchange(port, "DELETE /metrics HTTP/1.1\r\n\r\n"), StartsWith("HTTP/1.1 405 "));
    EXPECT_THAT(Get(port, "/"), StartsWith("HTTP/1.1 404 "));
    EXPECT_THAT(Exchange(port, std::string(9000, 'G')), StartsWith("HTTP/1.1 431 "));
}

// A client that connects and says nothing must neither hold up the others
// nor stay for ever; a crowd beyond the limit waits its turn.
TEST_F(MetricsServerTest, StalledAndCrowdingClientsNeitherBlockOthersNorStay) {
    Serve({2, std::chrono::milliseconds(300)});
    UniqueFd silent = Connect(port);
    EXPECT_THAT(Get(port, "/metrics"), StartsWith("HTTP/1.1 200 ")) << "beside one silent client";

    UniqueFd second = Connect(port);  // both places taken now
    std::string waited;
    std::thread late([&] { waited = Get(port, "/metrics"); });
    late.join();
    EXPECT_THAT(waited, StartsWith("HTTP/1.1 200 ")) << "served once the silent ones were dropped";

    char byte = 0;
    pollfd closed{silent.Get(), POLLIN, 0};
    ASSERT_EQ(::poll(&closed, 1, 2000), 1);
    EXPECT_EQ(::recv(silent.Get(), &byte, 1, 0), 0)
        << "the silent client was closed at its time limit";
}

TEST(MetricsFile, ReplacesTheFileWholeReadableByAllAndTellsAFailureOnce) {
    TempWorkDir dir;
    struct Recorded : ProblemReport {
        void Report(const std::string& text, MessageIcon) override { reports.push_back(text); }
        std::vector<std::string> reports;
    } problems;
    const std::string path = (dir.path / "vigilon.prom").string();
    metrics::MetricsFile file(path, problems);
    file.Write("a 1\n");
    file.Write("a 2\n");
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a 2\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1)
        << "no temporary left";

    metrics::MetricsFile nowhere((dir.path / "missing/vigilon.prom").string(), problems);
    nowhere.Write("a 1\n");
    nowhere.Write("a 2\n");
    ASSERT_EQ(problems.reports.size(), 1u);
    EXPECT_THAT(problems.reports[0],
                HasSubstr("cannot write the metrics to " + dir.path.string() + "/missing/"));
}

}  // namespace
}  // namespace vigilon::test
