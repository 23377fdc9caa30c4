// Ravelin's window on a real display: Enter in the host box starts pinging
// the loopback address, the answers come back as lines and as points of the
// graph, Stop and closing the window end the worker's thread.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/uiaction.h>

#include <dirent.h>

#include <fstream>
#include <string>

#include "CPingFrame.h"
#include "CRoundTripPanel.h"
#include "GuiSession.h"

namespace vigilon::test {
namespace {

using ravelin::CPingFrame;
using ravelin::CRoundTripPanel;
using ravelin::PingWorker;

// The names of this process's threads.
std::vector<std::string> ThreadNames() {
    std::vector<std::string> names;
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr) return names;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(name);
    }
    closedir(tasks);
    return names;
}

bool WorkerThreadRuns() {
    for (const std::string& name : ThreadNames())
        if (name == PingWorker::kThreadName) return true;
    return false;
}

int ReplyCount(const CPingFrame& frame) {
    int replies = 0;
    for (const auto& record : frame.Session().Records())
        if (record.result.outcome == EchoOutcome::Reply) ++replies;
    return replies;
}

void Click(wxButton* button) {
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

bool IsOpen(const CPingFrame* frame) {
    for (const wxWindow* window : wxTopLevelWindows)
        if (window == frame) return true;
    return false;
}

// A new window, shown, with the keyboard in its host box.
CPingFrame* OpenWindow(const wxString& host, double interval) {
    auto* frame = new CPingFrame();
    frame->Show();
    frame->Raise();
    frame->HostBox()->ChangeValue(host);
    frame->IntervalBox()->SetValue(interval);
    // Keys reach the window only once the window manager has given it the
    // focus, whatever wx thinks has it inside.
    EXPECT_TRUE(PumpUntil([&] { return frame->IsShownOnScreen() && frame->IsActive(); },
                          std::chrono::seconds(10)));
    PumpUntil([&] {
        frame->HostBox()->SetFocus();
        PumpFor(std::chrono::milliseconds(50));
        return wxWindow::FindFocus() == frame->HostBox();
    });
    return frame;
}

TEST(RavelinWindow, EnterPingsTheHostStopEndsItAndTheGraphShowsEachAnswer) {
    CPingFrame* frame = OpenWindow("127.0.0.1", 0.2);
    ASSERT_EQ(wxWindow::FindFocus(), frame->HostBox());
    const std::size_t threadsBefore = ThreadNames().size();

    wxUIActionSimulator keys;
    keys.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return frame->IsPinging(); })) << "Enter did not start";
    EXPECT_TRUE(WorkerThreadRuns());
    EXPECT_EQ(frame->StartButton()->GetLabel(), "S&top");
    ASSERT_TRUE(PumpUntil([&] { return ReplyCount(*frame) >= 4; }, std::chrono::seconds(10)))
        << frame->Session().LinesText();

    Click(frame->StartButton());
    EXPECT_FALSE(frame->IsPinging());
    EXPECT_FALSE(WorkerThreadRuns());
    EXPECT_EQ(frame->StartButton()->GetLabel(), "&Start");
    PumpFor(std::chrono::milliseconds(100));  // answers queued before the stop

    const auto& lines = frame->Session().Lines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "PING 127.0.0.1 (127.0.0.1) 56(84) bytes of data.");
    EXPECT_EQ(lines[1].rfind("64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.", 0), 0u)
        << lines[1];
    EXPECT_EQ(lines[2].rfind("64 bytes from 127.0.0.1: icmp_seq=2 ttl=64 time=0.", 0), 0u)
        << lines[2];

    // Every answer is a dot of the answers' colour where the plot put it.
    CRoundTripPanel* graph = frame->GraphPanel();
    graph->Refresh();
    graph->Update();
    PumpFor(std::chrono::milliseconds(200));
    const auto& plot = graph->LastPlot();
    ASSERT_EQ(plot.replies.size(), static_cast<std::size_t>(ReplyCount(*frame)));
    const wxImage picture = graph->LastPicture().ConvertToImage();
    ASSERT_TRUE(picture.IsOk());
    for (const auto& point : plot.replies) {
        const int x = static_cast<int>(point.x + 0.5), y = static_cast<int>(point.y + 0.5);
        ASSERT_TRUE(x >= 0 && y >= 0 && x < picture.GetWidth() && y < picture.GetHeight());
        const wxColour expected = CRoundTripPanel::kReplyColour;
        EXPECT_NEAR(picture.GetRed(x, y), expected.Red(), 40) << x << "," << y;
        EXPECT_NEAR(picture.GetGreen(x, y), expected.Green(), 40) << x << "," << y;
        EXPECT_NEAR(picture.GetBlue(x, y), expected.Blue(), 40) << x << "," << y;
    }
    EXPECT_TRUE(plot.lost.empty());

    frame->Close();
    EXPECT_TRUE(PumpUntil([&] { return !IsOpen(frame); }));
    EXPECT_LE(ThreadNames().size(), threadsBefore);
}

TEST(RavelinWindow, ClosingWhileTheWorkerWaitsEndsItAtOnce) {
    // A minute between requests: the worker sits in its wait when closed.
    CPingFrame* frame = OpenWindow("127.0.0.1", 60);
    const std::size_t threadsBefore = ThreadNames().size();
    frame->StartPinging("127.0.0.1");
    ASSERT_TRUE(PumpUntil([&] { return ReplyCount(*frame) == 1; }));
    ASSERT_TRUE(WorkerThreadRuns());

    frame->Close();
    EXPECT_FALSE(WorkerThreadRuns());
    EXPECT_TRUE(PumpUntil([&] { return !IsOpen(frame); }));
    EXPECT_LE(ThreadNames().size(), threadsBefore);
}

}  // namespace
}  // namespace vigilon::test
