#pragma once

// Runs net_probe_helper inside a fresh network namespace per test and reads
// back what it printed.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "NetNamespace.h"

namespace vigilon::test {

struct HelperRun {
    int exitCode = -1;
    std::vector<std::string> results;
    std::vector<std::string> boxes;
    std::vector<long> elapsedMs;
    bool floodSeen = false;
    std::vector<int> answeredSequences;  // as on the wire, by peers that play a host
    int forgeriesSent = 0;               // batches of made-up replies
    std::string output;
};

inline HelperRun RunHelper(const NetNamespace& space, const std::vector<std::string>& args) {
    std::string command = NET_PROBE_HELPER;
    for (const std::string& arg : args)
        command += " " + ShellQuote(arg);
    HelperRun run;
    const CommandOutput out = space.Exec(command);
    run.exitCode = out.exitCode;
    run.output = out.output;
    std::istringstream lines(out.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("result: ", 0) == 0)
            run.results.push_back(line.substr(8));
        else if (line.rfind("box: ", 0) == 0)
            run.boxes.push_back(line.substr(5));
        else if (line.rfind("elapsed: ", 0) == 0)
            run.elapsedMs.push_back(std::stol(line.substr(9)));
        else if (line == "flood: seen")
            run.floodSeen = true;
        else if (line.rfind("answer: ", 0) == 0)
            run.answeredSequences.push_back(std::stoi(line.substr(line.rfind(' ') + 1)));
        else if (line.rfind("forged: ", 0) == 0)
            ++run.forgeriesSent;
    }
    return run;
}

class NamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = NetNamespace::WhyUnavailable();
        if (!why.empty()) GTEST_SKIP() << why;
        space = std::make_unique<NetNamespace>();
        ASSERT_TRUE(space->Ok()) << space->Error();
    }

    HelperRun Run(const std::vector<std::string>& args) { return RunHelper(*space, args); }

    std::unique_ptr<NetNamespace> space;
};

}  // namespace vigilon::test
