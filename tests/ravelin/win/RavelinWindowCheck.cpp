// The real ravelin.exe under Windows' own window system (Wine on a private
// display here): started with a host on its command line it pings it at
// once, the reply lines show in its window, read back through Win32 as any
// other program could, and closing the window ends it. And its picture,
// drawn from the SVG built into it.
#include <gtest/gtest.h>

#include <wx/bmpbndl.h>
#include <wx/image.h>
#include <wx/init.h>

#include <windows.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>

#include "RavelinPicture.h"
#include "WindowsText.h"

namespace vigilon::test {
namespace {

using namespace std::chrono_literals;

// ravelin.exe, where the build puts it beside the test.
std::wstring RavelinProgram() {
    wchar_t own[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own, length);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + WideText(RAVELIN_FROM_TEST);
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) == 0)
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

// The window's multi-line edit control: where the reply lines go.
HWND LinesView(HWND frame) {
    HWND found = nullptr;
    ::EnumChildWindows(
        frame,
        [](HWND child, LPARAM result) -> BOOL {
            wchar_t kind[32];
            ::GetClassNameW(child, kind, 32);
            if (::lstrcmpiW(kind, L"Edit") != 0 ||
                (::GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE) == 0)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

int ReplyLines(const std::string& text) {
    static const std::regex reply(
        R"(64 bytes from 127\.0\.0\.1: icmp_seq=\d+ ttl=\d+ time=\d+\.\d+ ms)");
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), reply),
                                          std::sregex_iterator()));
}

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

TEST(RavelinWindow, PingsTheHostOnItsCommandLineShowsRepliesAndEndsWhenClosed) {
    std::wstring command = L"\"" + RavelinProgram() + L"\" 127.0.0.1";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process))
        << NarrowText(command) << ": error " << ::GetLastError();
    ::CloseHandle(process.hThread);
    const auto running = [&] { return ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; };

    HWND frame = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
            frame = ::FindWindowW(nullptr, L"Ravelin - 127.0.0.1");
            return frame != nullptr || !running();
        },
        60s));
    if (frame != nullptr) {
        HWND lines = LinesView(frame);
        std::string text;
        EXPECT_TRUE(WaitFor(
            [&] {
                text = NarrowText(TextOf(lines));
                return ReplyLines(text) >= 3;
            },
            60s))
            << text;
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
    }
    const bool ended = ::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "ravelin.exe is still running";
    if (!ended) ::TerminateProcess(process.hProcess, 99);
    DWORD status = 0;
    ::GetExitCodeProcess(process.hProcess, &status);
    EXPECT_EQ(status, 0u);
    ::CloseHandle(process.hProcess);
}

// wxMSW's static build draws SVG with its own copy of NanoSVG.
TEST(RavelinWindow, PictureIsDrawnFromItsSvg) {
    wxInitializer toolkit;
    ASSERT_TRUE(toolkit.IsOk());
    const wxBitmapBundle picture = ravelin::RavelinPicture(wxSize(32, 32));
    ASSERT_TRUE(picture.IsOk());
    const wxImage image = picture.GetBitmap(wxSize(48, 48)).ConvertToImage();
    ASSERT_EQ(image.GetWidth(), 48);
    int drawn = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (!image.HasAlpha() || image.GetAlpha(x, y) > 0) ++drawn;
    EXPECT_GT(drawn, 48 * 48 / 10);
    EXPECT_LT(drawn, 48 * 48) << "the picture has no transparent corner";
    // The window's icons, made from it.
    const wxIconBundle icons = ravelin::RavelinIcons();
    EXPECT_EQ(icons.GetIconCount(), 6u);
    EXPECT_TRUE(icons.GetIcon(wxSize(32, 32), wxIconBundle::FALLBACK_NONE).IsOk());
}

}  // namespace
}  // namespace vigilon::test
