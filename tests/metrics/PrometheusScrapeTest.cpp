// A real Prometheus server scrapes a headless vigilon while the target
// stops answering and answers again; probe_success is read back through
// Prometheus's own query API. Everything runs in two private network
// namespaces: the watcher's (vigilon and Prometheus on its loopback) and
// the target's, joined by a veth pair on 192.0.2.0/24.
#include <gmock/gmock.h>
#include <signal.h>

#include <fstream>
#include <thread>

#include "ChildProcess.h"
#include "HttpGet.h"
#include "NetNamespace.h"
#include "TempWorkDir.h"
#include "WaitUntil.h"

namespace vigilon::test {
namespace {

using ::testing::HasSubstr;

constexpr int kMetricsPort = 19101;
constexpr int kPrometheusPort = 19090;
// Each query is an HTTP exchange with Prometheus; no need to hurry it.
constexpr std::chrono::milliseconds kQueryEvery{250};

class PrometheusScrape : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = NetNamespace::WhyUnavailable(); !why.empty())
            GTEST_SKIP() << why;
        if (RunCommand("command -v prometheus promtool").exitCode != 0)
            GTEST_SKIP() << "Debian's prometheus package is not installed (make deps installs it)";
        ASSERT_TRUE(watcher.Ok() && target.Ok()) << watcher.Error() << target.Error();
        const std::string link = "vgl" + std::to_string(::getpid() % 100000);
        ASSERT_EQ(
            RunCommand("ip link add " + link + "w type veth peer name " + link + "t").exitCode, 0);
        for (const auto& [space, side, address] : {std::tuple{&watcher, "w", "192.0.2.1/24"},
                                                   std::tuple{&target, "t", "192.0.2.2/24"}}) {
            ASSERT_EQ(RunCommand("ip link set " + link + side + " netns " + space->Name()).exitCode,
                      0);
            ASSERT_EQ(
                space->Exec("ip addr add " + std::string(address) + " dev " + link + side).exitCode,
                0);
            ASSERT_EQ(space->Exec("ip link set " + link + side + " up").exitCode, 0);
        }
    }

    // The value of a one-series instant query, or "" while there is none.
    std::string Query(const std::string& expression) {
        NamespaceEntry inside(watcher);
        const std::string body = Body(Get(kPrometheusPort, "/api/v1/query?query=" + expression));
        const std::size_t value = body.find("\"value\":[");
        if (value == std::string::npos) return {};
        const std::size_t open = body.find(",\"", value);
        return body.substr(open + 2, body.find('"', open + 2) - open - 2);
    }

    NetNamespace watcher, target;
    TempWorkDir dir;
};

TEST_F(PrometheusScrape, ReadsTheTargetGoingDownAndUpThroughPrometheus) {
    const std::string folder = (dir.path / "data").string();
    const std::string program = VIGILON_PROGRAM;
    ASSERT_EQ(RunCommand(program + " --data-dir " + folder +
                         " --set targetAddress=192.0.2.2 controlAddress=192.0.2.2 pingFrequency=10 "
                         "emailEnabled=0 timeoutsBeforeEmail=1")
                  .exitCode,
              0);
    ChildProcess vigilon(
        {"/usr/sbin/ip", "netns", "exec", watcher.Name(), program, "--data-dir", folder,
         "--headless", "--metrics-listen", ":" + std::to_string(kMetricsPort)},
        dir.path.string(), {}, (dir.path / "vigilon").string());

    std::ofstream(dir.path / "prometheus.yml")
        << "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
           "scrape_configs:\n  - job_name: vigilon\n    static_configs:\n"
           "      - targets: ['127.0.0.1:"
        << kMetricsPort << "']\n";
    ChildProcess prometheus({"/usr/sbin/ip", "netns", "exec", watcher.Name(), "/usr/bin/prometheus",
                             "--config.file=" + (dir.path / "prometheus.yml").string(),
                             "--storage.tsdb.path=" + (dir.path / "tsdb").string(),
                             "--web.listen-address=127.0.0.1:" + std::to_string(kPrometheusPort)},
                            dir.path.string(), {}, (dir.path / "prometheus").string());
    ASSERT_TRUE(vigilon.Started() && prometheus.Started());

    ASSERT_TRUE(WaitUntil([&] { return Query("probe_success") == "1"; }, std::chrono::seconds(40),
                          kQueryEvery))
        << vigilon.Errors() << prometheus.Errors();
    EXPECT_EQ(Query("up"), "1");
    EXPECT_EQ(Query("probe_icmp_reply_hop_limit"), "64");

    // The target's echo answers off: down at the next cycle's time-out.
    ASSERT_TRUE(target.SetSysctl("net.ipv4.icmp_echo_ignore_all", "1"));
    ASSERT_TRUE(WaitUntil([&] { return Query("probe_success") == "0"; }, std::chrono::seconds(30),
                          kQueryEvery))
        << vigilon.Errors();
    EXPECT_EQ(Query("vigilon_alert_active"), "1") << "one time-out is the alert here";
    EXPECT_NE(Query("vigilon_target_timeouts_total"), "0");

    // On again: up at the next answer, five seconds after a time-out.
    ASSERT_TRUE(target.SetSysctl("net.ipv4.icmp_echo_ignore_all", "0"));
    ASSERT_TRUE(WaitUntil([&] { return Query("probe_success") == "1"; }, std::chrono::seconds(30),
                          kQueryEvery));
    EXPECT_TRUE(WaitUntil([&] { return Query("vigilon_alert_active") == "0"; },
                          std::chrono::seconds(5), kQueryEvery));
    EXPECT_NE(Query("vigilon_echo_rtt_seconds_count"), "0");

    // promtool's check of what the real program serves.
    std::string scrape;
    {
        NamespaceEntry inside(watcher);
        scrape = Body(Get(kMetricsPort, "/metrics"));
    }
    std::ofstream(dir.path / "scrape.prom") << scrape;
    const CommandOutput check =
        RunCommand("promtool check metrics < " + (dir.path / "scrape.prom").string());
    EXPECT_EQ(check.exitCode, 0) << check.output;

    ::kill(prometheus.Pid(), SIGTERM);
    ::kill(vigilon.Pid(), SIGTERM);
    EXPECT_EQ(vigilon.Wait(std::chrono::seconds(10)), 0);
    EXPECT_TRUE(prometheus.Wait(std::chrono::seconds(10)).has_value());
}

}  // namespace
}  // namespace vigilon::test
