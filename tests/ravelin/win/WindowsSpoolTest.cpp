// Windows' spool: a file of the run's own, which no one else may open and
// which goes with its run; and where runs are spooled.
#include <gtest/gtest.h>

#include <windows.h>

#include "PingSessionFixture.h"
#include "RunSpool.h"
#include "ScopedEnvironment.h"
#include "StoreTestDir.h"

namespace vigilon::ravelin {
namespace {

TEST_F(PingSessionTest, TheSpoolIsTheRunsAloneAndGoesWithIt) {
    const fs::path spoolFolder = folder / "spool";
    {
        PingSession session(spoolFolder.string());
        ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
        session.Recorded(session.RunNumber(), Request(1, 100));
        ASSERT_TRUE(session.Save((folder / "run.csv").string(), ExportFormat::Csv).saved);
        const std::vector<std::string> first = test::DirectoryEntries(spoolFolder);
        ASSERT_EQ(first.size(), 1u);
        EXPECT_EQ(first[0].rfind("ravelin-spool-", 0), 0u) << first[0];
        EXPECT_GT(fs::file_size(spoolFolder / first[0]), 0u);
        // Unshared: not even a reader who shares everything gets in.
        HANDLE other = ::CreateFileW((spoolFolder / first[0]).wstring().c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other, INVALID_HANDLE_VALUE);
        if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);

        // The next run's spool takes the place of the last one's.
        ASSERT_TRUE(session.Begin("gateway", 0.2, 56));
        const std::vector<std::string> second = test::DirectoryEntries(spoolFolder);
        ASSERT_EQ(second.size(), 1u);
        EXPECT_NE(second[0], first[0]);
        EXPECT_EQ(fs::file_size(spoolFolder / second[0]), 0u);
    }
    EXPECT_TRUE(fs::is_empty(spoolFolder));
}

TEST_F(PingSessionTest, RunsAreSpooledInTheUsersTemporaryFolder) {
    const test::ScopedEnvironment tmp("TMP", folder.string());
    EXPECT_EQ(SpoolFolder(), folder.string());
}

}  // namespace
}  // namespace vigilon::ravelin
