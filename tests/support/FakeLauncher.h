#pragma once

#include <string>
#include <vector>

#include "ProgramLauncher.h"

namespace vigilon::test {

class FakeLauncher : public ProgramLauncher {
public:
    void Launch(const std::vector<std::string>& commandLine) override { launched.push_back(commandLine); }
    std::vector<std::vector<std::string>> launched;
};

}  // namespace vigilon::test
