#pragma once

#include <string>

namespace vigilon {

// Names a PEM file of extra CA certificates that a URL server's certificate
// may chain to, for a private relay: trusted besides the system's store.
inline constexpr const char* kExtraCaVariable = "VIGILON_SMTP_CA_FILE";

// The certificates of systemBundle followed by those of extraFile, so that
// the extra ones are added to the system's trust, not put in its place. A
// missing system bundle leaves the extra ones alone. False, error saying
// why, when extraFile cannot be read or holds no certificate.
bool JoinCaBundles(const std::string& systemBundle, const std::string& extraFile,
                   std::string& bundle, std::string& error);

}  // namespace vigilon
