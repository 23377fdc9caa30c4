#pragma once

// What the session's tests share: requests of a known run, and a fresh
// folder of the test's own for the spool and the saved files.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "PingSession.h"
#include "TestAddress.h"

namespace vigilon::ravelin {

namespace fs = std::filesystem;

// The nth request of a run at 0.2 s: answered in roundTripUs, or timed out.
inline PingRecord Request(std::int64_t n, std::int64_t roundTripUs, bool answered = true) {
    PingRecord record;
    record.result.outcome = answered ? EchoOutcome::Reply : EchoOutcome::TimedOut;
    record.result.sequence = static_cast<std::uint16_t>(n);
    record.result.roundTripUs = answered ? roundTripUs : 0;
    record.result.messageBytes = 64;
    record.result.source = test::V4Address("192.0.2.2");
    record.secondsIntoRun = 0.2 * static_cast<double>(n - 1);
    record.sentAt = std::chrono::system_clock::time_point(std::chrono::seconds(1709985598)) +
                    std::chrono::milliseconds(200 * (n - 1));
    return record;
}

inline IpAddress Address(const char* dotted) { return test::V4Address(dotted); }

inline std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class PingSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        std::error_code error;
        do {
            folder = fs::temp_directory_path() / ("ravelin-session-" + std::to_string(random()));
        } while (!fs::create_directory(folder, error) && !error);
        ASSERT_FALSE(error) << error.message();
        fs::create_directory(folder / "spool");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path folder;
};

}  // namespace vigilon::ravelin
