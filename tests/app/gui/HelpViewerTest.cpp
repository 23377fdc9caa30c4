// The help book as built next to the program: every entry of its contents
// and index opens, and the viewer, loaded from its module at the first
// Help, shows it in a window of its own.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/html/helpdata.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/log.h>
#include <wx/treectrl.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "CommandIds.h"
#include "FakePrompt.h"
#include "GuiSession.h"
#include "HelpViewer.h"
#include "MainWindowFixture.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;

const fs::path kBuildFolder = VIGILON_BUILD_DIR;
const fs::path kHelpModule = VIGILON_HELP_MODULE;

wxHtmlHelpFrame* FindHelpFrame() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* frame = dynamic_cast<wxHtmlHelpFrame*>(window);
            frame != nullptr && frame->IsShownOnScreen() &&
            !wxTheApp->IsScheduledForDestruction(frame))
            return frame;
    return nullptr;
}

// What the process writes on its standard error while it lives: GTK's
// complaints go there and nowhere else.
class CapturedStandardError {
public:
    CapturedStandardError() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        char name[] = "/tmp/vigilon-stderr-XXXXXX";
        file_ = ::mkstemp(name);
        ::unlink(name);
        ::dup2(file_, STDERR_FILENO);
    }
    ~CapturedStandardError() { Restore(); }
    std::string Text() {
        Restore();
        std::string text;
        char buffer[4096];
        ::lseek(file_, 0, SEEK_SET);
        for (ssize_t got; (got = ::read(file_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, got);
        return text;
    }

private:
    void Restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    int saved_ = -1;
    int file_ = -1;
};

// Every item of the contents with topics under it is open.
int FoldedItems(wxTreeCtrl& tree, wxTreeItemId item) {
    int folded = 0;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk();
         child = tree.GetNextChild(item, cookie)) {
        if (tree.ItemHasChildren(child) && !tree.IsExpanded(child)) ++folded;
        folded += FoldedItems(tree, child);
    }
    return folded;
}

TEST(HelpBook, EveryContentsAndIndexEntryOpens) {
    const wxString book = wxString::FromUTF8((kBuildFolder / "vigilon.htb").string());
    if (!wxFileSystem::HasHandlerForPath(book + "#zip:vigilon.hhp"))
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
    wxHtmlHelpData data;
    ASSERT_TRUE(data.AddBook(book)) << book;
    ASSERT_EQ(data.GetBookRecArray().size(), 1u);
    EXPECT_EQ(data.GetBookRecArray()[0].GetTitle(), "Vigilon Help");

    wxFileSystem files;
    auto opens = [&](const wxString& page) {
        std::unique_ptr<wxFSFile> file(files.OpenFile(page.BeforeFirst('#')));
        return file != nullptr;
    };
    auto checkAll = [&](const wxHtmlHelpDataItems& items) {
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_TRUE(opens(items[i].GetFullPath()))
                << items[i].name << " -> " << items[i].GetFullPath();
    };
    EXPECT_GE(data.GetContentsArray().size(), 7u);
    checkAll(data.GetContentsArray());
    EXPECT_GE(data.GetIndexArray().size(), 20u);
    checkAll(data.GetIndexArray());
}

TEST(HelpViewer, ShowsTheBooksStartPageInAWindowOfItsOwnAgainAfterItIsClosed) {
    FakePrompt prompt;
    app::HelpViewer viewer(prompt, {fs::path(), kBuildFolder}, kHelpModule);
    for (int round = 0; round < 2; ++round) {
        viewer.OpenHelp();
        wxHtmlHelpFrame* frame = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (frame = FindHelpFrame()) != nullptr; }))
            << "round " << round;
        EXPECT_EQ(frame->GetParent(), nullptr) << "the viewer has no owner window";
        EXPECT_TRUE(PumpUntil([&] { return frame->GetTitle().Contains("Vigilon Help"); }))
            << frame->GetTitle();
        frame->Close();
        ASSERT_TRUE(PumpUntil([] { return FindHelpFrame() == nullptr; }));
    }
    EXPECT_TRUE(prompt.boxes.empty());
}

TEST(HelpViewer, OpensQuietlyWithItsContentsUnfolded) {
    FakePrompt prompt;
    app::HelpViewer viewer(prompt, {kBuildFolder}, kHelpModule);
    CapturedStandardError standardError;
    viewer.OpenHelp();
    wxHtmlHelpFrame* frame = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (frame = FindHelpFrame()) != nullptr; }));
    PumpFor(std::chrono::milliseconds(500));  // laid out and drawn
    const std::string complaints = standardError.Text();
    EXPECT_EQ(complaints.find("Gtk-CRITICAL"), std::string::npos) << complaints;

    wxTreeCtrl& tree = *frame->GetHelpWindow()->GetTreeCtrl();
    ASSERT_TRUE(tree.GetRootItem().IsOk());
    EXPECT_GE(tree.GetCount(), 8u) << "the book and its topics";
    EXPECT_EQ(FoldedItems(tree, tree.GetRootItem()), 0);
    frame->Close();
    PumpUntil([] { return FindHelpFrame() == nullptr; });
}

TEST(HelpViewer, NeitherAMissingNorADamagedBookShowsAnythingAndADamagedOneIsNotRetried) {
    const fs::path folder =
        fs::temp_directory_path() / ("vigilon-nobook-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    auto expectNothingShown = [](const char* when) {
        PumpFor(std::chrono::milliseconds(300));
        // Anything the toolkit wanted to say would show as a window too.
        for (wxWindow* window : wxTopLevelWindows)
            if (!wxTheApp->IsScheduledForDestruction(window))
                ADD_FAILURE() << when << ": unexpected window " << window->GetLabel();
    };
    {
        FakePrompt prompt;
        app::HelpViewer viewer(prompt, {folder}, kHelpModule);
        viewer.OpenHelp();
        expectNothingShown("no book");

        std::ofstream(folder / "vigilon.htb") << "not a zip archive";
        viewer.OpenHelp();
        expectNothingShown("damaged book");

        fs::copy_file(kBuildFolder / "vigilon.htb", folder / "vigilon.htb",
                      fs::copy_options::overwrite_existing);
        viewer.OpenHelp();
        expectNothingShown("good book after a failure");
        EXPECT_TRUE(prompt.boxes.empty());
    }
    fs::remove_all(folder);
}

// A viewer that cannot be loaded is told once, with the loader's reason,
// and nothing else shows; the program goes on.
TEST(HelpViewer, AViewerThatCannotBeLoadedIsToldOnceInAMessageBox) {
    const fs::path missing = kBuildFolder / "no-such-folder" / kHelpModule.filename();
    FakePrompt prompt;
    app::HelpViewer viewer(prompt, {kBuildFolder}, missing);
    viewer.OpenHelp();
    ASSERT_EQ(prompt.boxes.size(), 1u);
    const FakePrompt::Box& box = prompt.boxes[0];
    EXPECT_EQ(box.text.rfind("The help cannot be shown: its viewer could not be loaded.\n\n", 0),
              0u)
        << box.text;
    EXPECT_NE(box.text.find(missing.string()), std::string::npos) << "the reason names the file";
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_EQ(box.caption, "Vigilon");
    EXPECT_FALSE(box.question);

    viewer.OpenHelp();
    PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(prompt.boxes.size(), 1u) << "told once";
    EXPECT_EQ(FindHelpFrame(), nullptr);
}

// The real window's Help menu opens the viewer, from the module beside the
// program (the build folder's here).
using HelpMenu = MainWindowTest;

TEST_F(HelpMenu, HelpContentsOpensTheBookInTheViewer) {
    StoreSettings();
    ASSERT_EQ(Start(), app::StartupOutcome::Monitoring);
    Choose(app::ID_HELP_CONTENTS);
    wxHtmlHelpFrame* frame = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (frame = FindHelpFrame()) != nullptr; }));
    EXPECT_TRUE(PumpUntil([&] { return frame->GetTitle().Contains("Vigilon Help"); }))
        << frame->GetTitle();
    frame->Close();
    PumpUntil([] { return FindHelpFrame() == nullptr; });
}

}  // namespace
}  // namespace vigilon::test
