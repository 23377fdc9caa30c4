// The real program where there is no display: its answers come without a
// window, as Vigilon's do.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "ChildProcess.h"
#include "RavelinCommandLine.h"

namespace vigilon::test {
namespace {

TEST(RavelinProgram, AnswersWithoutADisplayAndSaysWhenItNeedsOne) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const ChildProcess::Environment noDisplay{{"DISPLAY", std::nullopt},
                                              {"WAYLAND_DISPLAY", std::nullopt}};
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    };
    const std::vector<Case> cases = {
        {{"--version"}, 0, "Ravelin " VIGILON_VERSION "\n", ""},
        {{"--help"}, 0, ravelin::RavelinUsageText(), ""},
        {{"-x"},
         2,
         "",
         "ravelin: unknown option '-x'\nTry 'ravelin --help' for more information.\n"},
        {{"192.0.2.7"},
         1,
         "",
         "ravelin: no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv{RAVELIN_PROGRAM};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ChildProcess program(argv, dir.string(), noDisplay,
                             (dir / ("ravelin-" + std::to_string(::getpid()))).string());
        ASSERT_TRUE(program.Started());
        EXPECT_EQ(program.Wait(std::chrono::seconds(10)), c.status) << c.args[0];
        EXPECT_EQ(program.Output(), c.out) << c.args[0];
        EXPECT_EQ(program.Errors(), c.err) << c.args[0];
    }
}

}  // namespace
}  // namespace vigilon::test
