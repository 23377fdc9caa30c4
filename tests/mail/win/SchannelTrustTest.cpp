// The CA certificates handed to Schannel when VIGILON_SMTP_CA_FILE names a
// file: Windows' roots (under Wine, the ones it took from this machine)
// with the file's, so that the file adds to the roots rather than
// replacing them.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "CaBundle.h"
#include "CaTrust.h"
#include "CurlOptions.h"
#include "TestEnvironment.h"
#include "WindowsRootCertificates.h"

namespace vigilon {
namespace {

int Certificates(const std::string& pem) {
    int count = 0;
    for (std::size_t at = 0;
         (at = pem.find("-----BEGIN CERTIFICATE-----", at)) != std::string::npos; ++at)
        ++count;
    return count;
}

TEST(SchannelTrust, AnExtraCaFileIsHandedOverWithWindowsRoots) {
    const std::string roots = WindowsRootCertificates();
    ASSERT_GT(Certificates(roots), 10) << "Windows' root store reads as nearly empty";

    std::string why;
    const CurlFunctions* library = Curl(&why);
    ASSERT_NE(library, nullptr) << why;
    CURL* curl = library->easyInit();
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string extra = (dir / "vigilon-extra-ca.pem").string();
    const std::string empty = (dir / "vigilon-no-ca.pem").string();
    // One of the roots stands in for a private CA: only the form matters here.
    const std::string first = roots.substr(0, roots.find("-----END CERTIFICATE-----") + 26);
    std::ofstream(extra, std::ios::binary) << first;
    std::ofstream(empty, std::ios::binary) << "not a certificate\n";

    std::string bundle;
    std::string error;
    ASSERT_TRUE(SchannelCaBundle(extra, bundle, error)) << error;
    EXPECT_EQ(Certificates(bundle), Certificates(roots) + 1);
    EXPECT_TRUE(bundle.starts_with(roots) && bundle.ends_with(first)) << "the roots, then the file";

    CaTrustHold hold;
    test::PutVariable(kExtraCaVariable, extra.c_str());
    CurlOptions options(curl);
    EXPECT_TRUE(SetCaTrust(curl, options, hold, error)) << error;
    EXPECT_EQ(options.Error(), "") << "libcurl took the bundle";

    test::PutVariable(kExtraCaVariable, empty.c_str());
    EXPECT_FALSE(SetCaTrust(curl, options, hold, error));
    EXPECT_NE(error.find("No certificate in the CA file"), std::string::npos) << error;

    test::RemoveVariable(kExtraCaVariable);
    EXPECT_TRUE(SetCaTrust(curl, options, hold, error)) << "no variable: Windows' store alone";
    library->easyCleanup(curl);
    std::filesystem::remove(extra);
    std::filesystem::remove(empty);
}

}  // namespace
}  // namespace vigilon
