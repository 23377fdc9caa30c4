// Refused libcurl options, on a real handle of the libcurl loaded on demand.
#include <gtest/gtest.h>

#include "CurlOptions.h"

namespace vigilon {
namespace {

TEST(CurlOptionsTest, TheFirstRefusalIsKeptAndNamesItsOption) {
    std::string why;
    const CurlFunctions* library = Curl(&why);
    ASSERT_NE(library, nullptr) << why;
    CURL* curl = library->easyInit();
    ASSERT_NE(curl, nullptr);
    CurlOptions options(curl);
    options.Set(CURLOPT_VERBOSE, 0L);
    EXPECT_EQ(options.Error(), "");

    options.Set(CURLOPT_SERVER_RESPONSE_TIMEOUT, -1L);  // out of libcurl's range
    options.Set(CURLOPT_PROTOCOLS_STR, "smtp,no-such-protocol");
    EXPECT_EQ(options.Error(), "libcurl refused CURLOPT_SERVER_RESPONSE_TIMEOUT: " +
                                   std::string(library->easyStrerror(CURLE_BAD_FUNCTION_ARGUMENT)));

    // As a libcurl older than the one built against would refuse a newer option.
    CurlOptions older(curl);
    older.Set(static_cast<CURLoption>(CURLOPTTYPE_LONG + 9999), 1L);
    EXPECT_EQ(older.Error(), "libcurl refused option " + std::to_string(CURLOPTTYPE_LONG + 9999) +
                                 ": " + library->easyStrerror(CURLE_UNKNOWN_OPTION));
    library->easyCleanup(curl);
}

}  // namespace
}  // namespace vigilon
