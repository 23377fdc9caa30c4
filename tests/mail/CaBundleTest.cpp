#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CaBundle.h"

namespace vigilon {
namespace {

constexpr const char* kSystem = "-----BEGIN CERTIFICATE-----\nSYSTEM\n-----END CERTIFICATE-----";
constexpr const char* kExtra = "-----BEGIN CERTIFICATE-----\nEXTRA\n-----END CERTIFICATE-----\n";

class CaBundleTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dirTemplate[] = "/tmp/vigilon-ca-XXXXXX";
        ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
        dir_ = dirTemplate;
        std::ofstream(dir_ + "/system.pem") << kSystem;  // no final line end
        std::ofstream(dir_ + "/extra.pem") << kExtra;
        std::ofstream(dir_ + "/empty.pem") << "no certificate here\n";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string dir_;
};

TEST_F(CaBundleTest, ExtraFileIsAddedToTheSystemBundle) {
    std::string bundle;
    std::string error;
    ASSERT_TRUE(JoinCaBundles(dir_ + "/system.pem", dir_ + "/extra.pem", bundle, error)) << error;
    EXPECT_EQ(bundle, std::string(kSystem) + "\n" + kExtra);

    // Without a system bundle the extra certificates still count.
    ASSERT_TRUE(JoinCaBundles(dir_ + "/none.pem", dir_ + "/extra.pem", bundle, error)) << error;
    EXPECT_EQ(bundle, kExtra);
}

TEST_F(CaBundleTest, UnusableExtraFileIsAnError) {
    std::string bundle;
    std::string error;
    EXPECT_FALSE(JoinCaBundles(dir_ + "/system.pem", dir_ + "/none.pem", bundle, error));
    EXPECT_EQ(error,
              "Unable to read the CA file named by VIGILON_SMTP_CA_FILE: " + dir_ + "/none.pem");
    EXPECT_FALSE(JoinCaBundles(dir_ + "/system.pem", dir_ + "/empty.pem", bundle, error));
    EXPECT_EQ(error, "No certificate in the CA file named by VIGILON_SMTP_CA_FILE: " + dir_ +
                         "/empty.pem");
}

}  // namespace
}  // namespace vigilon
