#pragma once

#include <string>

namespace vigilon::test {

// A certificate authority made for one test run with openssl, and two server
// certificates it signed: one for "localhost", 127.0.0.1 and ::1, one for another
// name only. Everything lives in a fresh directory, removed with the object.
class TestCertificates {
public:
    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    // Empty when all files were made; otherwise what openssl said.
    const std::string& Error() const { return error_; }
    const std::string& Directory() const { return dir_; }

    std::string CaFile() const { return dir_ + "/ca.pem"; }
    std::string LocalhostCert() const { return dir_ + "/localhost.pem"; }
    std::string LocalhostKey() const { return dir_ + "/localhost.key"; }
    std::string OtherNameCert() const { return dir_ + "/other.pem"; }
    std::string OtherNameKey() const { return dir_ + "/other.key"; }

    static constexpr const char* kOtherName = "other.vigilon.test";

private:
    bool Run(const std::string& arguments);

    std::string dir_;
    std::string error_;
};

}  // namespace vigilon::test
