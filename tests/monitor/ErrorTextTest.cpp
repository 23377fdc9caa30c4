// The system's words for an errno value, from several threads at once.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "ErrorText.h"

namespace vigilon {
namespace {

TEST(ErrorTextTest, KnownAndUnknownErrorsFromManyThreads) {
    EXPECT_EQ(ErrorText(EPERM), "Operation not permitted");
    EXPECT_EQ(ErrorText(ENOSPC), "No space left on device");
    // Also where the C runtime numbers the socket errors without naming them.
    EXPECT_EQ(ErrorText(ENETUNREACH), "Network is unreachable");
    EXPECT_EQ(ErrorText(EHOSTUNREACH), "No route to host");

    // Unknown numbers are the ones a shared buffer would mix up: each thread
    // asks about its own and must always read its own back.
    std::vector<std::jthread> threads;
    std::vector<int> mixedUp(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &mixedUp] {
            const int error = 90000 + t;
            const std::string expected = "Unknown error " + std::to_string(error);
            for (int i = 0; i < 20000; ++i)
                if (ErrorText(error) != expected) ++mixedUp[t];
        });
    threads.clear();
    EXPECT_EQ(mixedUp, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace vigilon
