#pragma once

#include <string>

namespace vigilon {

// The certificates of Windows' trusted root store, as PEM text.
std::string WindowsRootCertificates();

// What Schannel is handed when an extra CA file is named: the roots, then
// the file's certificates. False, error set, when the file cannot be used.
bool SchannelCaBundle(const std::string& extraFile, std::string& bundle, std::string& error);

}  // namespace vigilon
