// The cached libcurl is the one the mail sender needs on Windows, and
// GoogleTest, GoogleMock and the standard threads work under the toolchain.
#include <curl/curl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

using ::testing::AnyOf;
using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Return;

TEST(Curl, TalksTlsThroughSchannel) {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    ASSERT_NE(info->ssl_version, nullptr);
    EXPECT_THAT(info->ssl_version, HasSubstr("Schannel"));
    EXPECT_TRUE(info->features & CURL_VERSION_SSL);
}

// Mail submission, and HTTP only because Debian's header-size fix needs it
// to link (build-curl.sh).
TEST(Curl, SpeaksMailSubmissionAndNoMore) {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    std::vector<std::string> protocols;
    for (const char* const* p = info->protocols; *p != nullptr; ++p)
        protocols.emplace_back(*p);
    EXPECT_THAT(protocols, IsSupersetOf({"smtp", "smtps"}));
    EXPECT_THAT(protocols, Each(AnyOf("smtp", "smtps", "http", "https")));
}

TEST(Curl, TakesTheOptionsTheMailSenderSets) {
    ASSERT_EQ(curl_global_init(CURL_GLOBAL_DEFAULT), CURLE_OK);
    CURL* curl = curl_easy_init();
    ASSERT_NE(curl, nullptr);
    EXPECT_EQ(curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps"), CURLE_OK);
    EXPECT_EQ(curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L), CURLE_OK);
    EXPECT_EQ(curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL)),
              CURLE_OK);
    EXPECT_EQ(curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL)), CURLE_OK);
    curl_easy_cleanup(curl);
    curl_global_cleanup();
}

TEST(Threads, StandardThreadsShareAMutex) {
    std::mutex mutex;
    int count = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) {
                std::lock_guard lock(mutex);
                ++count;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(count, 4000);
}

class Clock {
public:
    virtual ~Clock() = default;
    virtual long Now() = 0;
};

class MockClock : public Clock {
public:
    MOCK_METHOD(long, Now, (), (override));
};

TEST(Mock, AnswersAsTold) {
    MockClock clock;
    EXPECT_CALL(clock, Now()).WillOnce(Return(42));
    EXPECT_EQ(clock.Now(), 42);
}
