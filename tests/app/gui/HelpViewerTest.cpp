// The help book as built next to the program: every entry of its contents
// and index opens, and the viewer shows it in a window of its own.
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

#include "GuiSession.h"
#include "HelpViewer.h"

namespace vigilon::test {
namespace {

namespace fs = std::filesystem;

const fs::path kBuildFolder = VIGILON_BUILD_DIR;

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
    app::HelpViewer viewer({fs::path(), kBuildFolder});
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
}

TEST(HelpViewer, OpensQuietlyWithItsContentsUnfolded) {
    app::HelpViewer viewer({kBuildFolder});
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
        app::HelpViewer viewer({folder});
        viewer.OpenHelp();
        expectNothingShown("no book");

        std::ofstream(folder / "vigilon.htb") << "not a zip archive";
        viewer.OpenHelp();
        expectNothingShown("damaged book");

        fs::copy_file(kBuildFolder / "vigilon.htb", folder / "vigilon.htb",
                      fs::copy_options::overwrite_existing);
        viewer.OpenHelp();
        expectNothingShown("good book after a failure");
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vigilon::test
