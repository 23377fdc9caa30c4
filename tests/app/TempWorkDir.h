#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace vigilon::test {

// A fresh temporary directory as the current one for as long as it lives,
// so that "Vigilon.dat" and "Vigilon.log" are reached by their bare names.
class TempWorkDir {
public:
    TempWorkDir() {
        char pattern[] = "/tmp/vigilon-shell-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return;
        path = pattern;
        previous = std::filesystem::current_path();
        std::filesystem::current_path(path);
    }
    ~TempWorkDir() {
        std::error_code ignored;
        if (!previous.empty()) std::filesystem::current_path(previous, ignored);
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    std::filesystem::path path;
    std::filesystem::path previous;
};

// The lines of a log file written with CR LF, without the time stamp
// (the first 18 characters: "%m/%d/%y %H:%M:%S ").
inline std::vector<std::string> LogMessages(const std::string& path = "Vigilon.log") {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> messages;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        messages.push_back(line.size() > 18 ? line.substr(18) : line);
    }
    return messages;
}

}  // namespace vigilon::test
