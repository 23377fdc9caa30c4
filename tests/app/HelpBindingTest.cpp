// When the help viewer is set up, and what a failure or a missing book does
// to later help requests; where the book is looked for.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "HelpBinding.h"
#include "HelpBook.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;
using app::HelpBackend;
using app::HelpBinding;

class ScriptedHelp : public HelpBackend {
public:
    BindResult Bind() override {
        ++binds;
        return answer;
    }
    void ShowContents() override { ++shown; }

    BindResult answer = BindResult::Bound;
    int binds = 0;
    int shown = 0;
};

TEST(HelpBinding, BindsOnTheFirstRequestOnlyAndShowsEveryTime) {
    ScriptedHelp help;
    HelpBinding binding(help);
    EXPECT_EQ(help.binds, 0) << "nothing is set up before the first request";

    binding.OpenHelp();
    binding.OpenHelp();
    binding.OpenHelp();
    EXPECT_EQ(help.binds, 1);
    EXPECT_EQ(help.shown, 3);
    EXPECT_TRUE(binding.IsBound());
}

TEST(HelpBinding, AFailureIsRememberedAndNeverRetried) {
    ScriptedHelp help;
    help.answer = HelpBackend::BindResult::Failed;
    HelpBinding binding(help);
    binding.OpenHelp();
    // Even once the viewer could be set up, the failure stands.
    help.answer = HelpBackend::BindResult::Bound;
    binding.OpenHelp();
    binding.OpenHelp();
    EXPECT_EQ(help.binds, 1);
    EXPECT_EQ(help.shown, 0);
    EXPECT_TRUE(binding.HasFailed());
}

TEST(HelpBinding, AMissingBookShowsNothingAndIsLookedForAgain) {
    ScriptedHelp help;
    help.answer = HelpBackend::BindResult::NoBook;
    HelpBinding binding(help);
    binding.OpenHelp();
    binding.OpenHelp();
    EXPECT_EQ(help.shown, 0);
    EXPECT_FALSE(binding.HasFailed());

    // The book installed meanwhile: the next request binds and shows it.
    help.answer = HelpBackend::BindResult::Bound;
    binding.OpenHelp();
    EXPECT_EQ(help.binds, 3);
    EXPECT_EQ(help.shown, 1);
}

TEST(HelpBook, TheFirstFolderThatHoldsTheBookWins) {
    const fs::path root =
        fs::temp_directory_path() / ("vigilon-book-" + std::to_string(::getpid()));
    const fs::path program = root / "bin", data = root / "share", other = root / "other";
    for (const fs::path& folder : {program, data, other})
        fs::create_directories(folder);
    std::ofstream(data / app::kHelpBookName) << "book";
    fs::create_directories(other / app::kHelpBookName);  // a folder of that name is no book

    EXPECT_EQ(app::FindHelpBook({program, data}), data / app::kHelpBookName);
    std::ofstream(program / app::kHelpBookName) << "book";
    EXPECT_EQ(app::FindHelpBook({program, data}), program / app::kHelpBookName);
    EXPECT_EQ(app::FindHelpBook({fs::path(), other}), fs::path());

    fs::remove_all(root);
}

TEST(HelpBook, AnInstalledProgramFindsTheBookOfItsOwnInstallationWhateverThePrefix) {
    const fs::path root =
        fs::temp_directory_path() / ("vigilon-tree-" + std::to_string(::getpid()));
    const fs::path bin = root / "usr/bin", window = root / "usr/libexec/vigilon",
                   data = root / "usr/share/vigilon";
    for (const fs::path& folder : {bin, window, data})
        fs::create_directories(folder);
    std::ofstream(data / app::kHelpBookName) << "book";

    EXPECT_EQ(app::FindHelpBook(app::HelpBookFolders(bin)), data / app::kHelpBookName);
    EXPECT_EQ(app::FindHelpBook(app::HelpBookFolders(window)), data / app::kHelpBookName);
    fs::remove_all(root);
}

}  // namespace
}  // namespace vigilon::test
