#include "TestCertificates.h"

#include <cstdlib>
#include <filesystem>

#include "NetNamespace.h"

namespace vigilon::test {

namespace {

// Small, quick keys; the tests check trust, not strength.
constexpr const char* kNewKey = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2";

}  // namespace

TestCertificates::TestCertificates() {
    char dirTemplate[] = "/tmp/vigilon-certs-XXXXXX";
    if (::mkdtemp(dirTemplate) == nullptr) {
        error_ = "mkdtemp failed";
        return;
    }
    dir_ = dirTemplate;
    const std::string d = ShellQuote(dir_);
    const std::string leaf = std::string(" -CA ") + d + "/ca.pem -CAkey " + d + "/ca.key " +
                             kNewKey + " -addext basicConstraints=critical,CA:FALSE";
    Run(std::string("req -x509 ") + kNewKey + " -keyout " + d + "/ca.key -out " + d +
        "/ca.pem -subj '/CN=Vigilon Test CA'") &&
        Run("req -x509" + leaf + " -keyout " + d + "/localhost.key -out " + d +
            "/localhost.pem -subj /CN=localhost -addext "
            "subjectAltName=DNS:localhost,IP:127.0.0.1,IP:::1") &&
        Run("req -x509" + leaf + " -keyout " + d + "/other.key -out " + d +
            "/other.pem -subj /CN=" + kOtherName + " -addext subjectAltName=DNS:" + kOtherName);
}

TestCertificates::~TestCertificates() {
    if (dir_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

bool TestCertificates::Run(const std::string& arguments) {
    const CommandOutput out = RunCommand("openssl " + arguments);
    if (out.exitCode == 0) return true;
    error_ = "openssl " + arguments + ": " + out.output;
    return false;
}

}  // namespace vigilon::test
