#include "CaBundle.h"

#include <fstream>
#include <sstream>

namespace vigilon {

namespace {

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return !file.bad();
}

}  // namespace

bool JoinCaBundles(const std::string& systemBundle, const std::string& extraFile,
                   std::string& bundle, std::string& error) {
    std::string extra;
    if (!ReadWhole(extraFile, extra)) {
        error = std::string("Unable to read the CA file named by ") + kExtraCaVariable + ": " +
                extraFile;
        return false;
    }
    if (extra.find("-----BEGIN CERTIFICATE-----") == std::string::npos) {
        error = std::string("No certificate in the CA file named by ") + kExtraCaVariable + ": " +
                extraFile;
        return false;
    }
    bundle.clear();
    if (!systemBundle.empty() && ReadWhole(systemBundle, bundle) && !bundle.ends_with('\n'))
        bundle += '\n';
    bundle += extra;
    return true;
}

}  // namespace vigilon
