// View Log on a desktop without a handler for text files: with xdg-open
// missing from PATH, or failing, the program's own viewer shows the log;
// with a handler, the log opens there as before. The real launcher runs
// (fake) xdg-open programs.
#include <gtest/gtest.h>

#include <wx/button.h>

#include <filesystem>
#include <fstream>

#include "CommandIds.h"
#include "DialogTesting.h"
#include "LogViewerFrame.h"
#include "MainWindowFixture.h"
#include "OwnViewerTexts.h"
#include "ScopedEnvironment.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFirstLine(const fs::path& file) {
    std::string line;
    std::getline(std::ifstream(file) >> std::ws, line);
    return line;
}

app::LogViewerFrame* ShownViewer() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* viewer = dynamic_cast<app::LogViewerFrame*>(window);
            viewer != nullptr && viewer->IsShown())
            return viewer;
    return nullptr;
}

class OwnViewer : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        fs::create_directories(bin);
    }
    void FakeXdgOpen(const std::string& script) {
        const fs::path program = bin / "xdg-open";
        std::ofstream(program) << "#!/bin/sh\nPATH=/bin:/usr/bin\n" << script << "\n";
        fs::permissions(program, fs::perms::owner_all);
    }
    // The program with the desktop's own launcher, not the tests' fake.
    void StartWithRealLauncher() {
        StoreSettings();
        app::ProgramOptions options;
        options.editing = &editing;
        program = std::make_unique<app::VigilonProgram>(options);
        ASSERT_EQ(program->Start(), app::StartupOutcome::Monitoring);
        ASSERT_TRUE(PumpUntil([] { return !LogMessages().empty(); })) << "the start's log line";
    }

    // A PATH of one folder, holding only what the test puts there.
    fs::path bin = dir.path / "bin";
    ScopedEnvironment path{"PATH", bin.string()};
    UserInput user;
};

TEST_F(OwnViewer, WithoutXdgOpenTheLogShowsInTheOwnViewerWhichReloads) {
    StartWithRealLauncher();  // with nothing in bin, xdg-open is found nowhere

    Choose(app::ID_OPTIONS_VIEW_LOG);
    app::LogViewerFrame* viewer = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (viewer = ShownViewer()) != nullptr; }))
        << "no viewer came up";
    EXPECT_EQ(viewer->GetTitle(), app::kLogViewerCaption);
    EXPECT_NE(viewer->Text().GetValue().Find("STARTED"), wxNOT_FOUND) << viewer->Text().GetValue();
    EXPECT_FALSE(viewer->Text().IsEditable());
    bool advised = false;
    for (wxWindow* child : viewer->GetChildren().front()->GetChildren())
        if (auto* note = dynamic_cast<wxStaticText*>(child))
            advised =
                advised || note->GetLabelText().Contains("install xdg-utils and a text editor");
    EXPECT_TRUE(advised) << "the note says what to install";

    std::ofstream("Vigilon.log", std::ios::app | std::ios::binary)
        << "01/01/00 00:00:00 written later\r\n";
    ASSERT_TRUE(PumpUntil([&] { return viewer->IsActive(); }))
        << "the viewer did not get the focus";
    user.Click(viewer->FindWindow(wxID_REFRESH));
    EXPECT_TRUE(viewer->Text().GetValue().EndsWith("written later\n"))
        << "the end, after Reload: " << viewer->Text().GetValue();

    // Asked again, the one viewer comes back.
    Choose(app::ID_TRAY_VIEW_LOG);
    PumpFor(500ms);
    int viewers = 0;
    for (wxWindow* window : wxTopLevelWindows)
        viewers += dynamic_cast<app::LogViewerFrame*>(window) != nullptr;
    EXPECT_EQ(viewers, 1);
}

TEST_F(OwnViewer, AnXdgOpenThatFindsNoHandlerAlsoLeadsToTheOwnViewer) {
    FakeXdgOpen("echo \"$@\" > opened; exit 3");
    StartWithRealLauncher();
    Choose(app::ID_OPTIONS_VIEW_LOG);
    EXPECT_TRUE(PumpUntil([] { return ShownViewer() != nullptr; })) << "no viewer came up";
    EXPECT_EQ(ReadFirstLine("opened"), "Vigilon.log") << "xdg-open was asked first";
}

TEST_F(OwnViewer, WithAHandlerTheLogOpensThereAndTheWindowGoesOn) {
    // The handler stays open as an editor would; the window must not wait.
    FakeXdgOpen("echo \"$@\" > opened; sleep 3");
    StartWithRealLauncher();
    const auto before = std::chrono::steady_clock::now();
    Choose(app::ID_OPTIONS_VIEW_LOG);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms)
        << "the window waited for the handler";
    ASSERT_TRUE(PumpUntil([] { return fs::exists("opened"); }));
    EXPECT_EQ(ReadFirstLine("opened"), "Vigilon.log");
    PumpFor(500ms);
    EXPECT_EQ(ShownViewer(), nullptr);
}

}  // namespace
}  // namespace vigilon::test
