#include "DesktopLauncher.h"

#include <windows.h>

// After windows.h, whose types they use.
#include <objbase.h>
#include <shellapi.h>

#include <thread>

#include "DesktopLauncherReports.h"
#include "WindowsText.h"

namespace vigilon {

namespace {

// One argument as the C runtime of the started program reads it back:
// quoted when it holds a space, a tab or a quote, with the backslashes
// before a quote (and before the closing quote) doubled.
std::wstring QuotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// The started process's handle, or null when it could not start.
HANDLE StartProcess(const std::vector<std::string>& commandLine) {
    std::wstring line;
    for (const std::string& argument : commandLine) {
        if (!line.empty()) line += L' ';
        line += QuotedArgument(WideText(argument));
    }
    const std::wstring program = WideText(commandLine.front());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // A full path is taken as it is; a bare name is looked for the way
    // the command prompt would.
    const bool fullPath = program.find_first_of(L"\\/:") != std::wstring::npos;
    if (!::CreateProcessW(fullPath ? program.c_str() : nullptr, line.data(), nullptr, nullptr,
                          FALSE, CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started))
        return nullptr;
    ::CloseHandle(started.hThread);
    return started.hProcess;
}

}  // namespace

void DesktopLauncher::Launch(const std::vector<std::string>& commandLine) {
    if (commandLine.empty()) return;
    if (HANDLE process = StartProcess(commandLine)) ::CloseHandle(process);
}

void DesktopLauncher::LaunchWatched(const std::vector<std::string>& commandLine,
                                    std::function<void()> whenFailed) {
    HANDLE process = commandLine.empty() ? nullptr : StartProcess(commandLine);
    if (process == nullptr) {
        reports_->Post(reports_, std::move(whenFailed));
        return;
    }
    std::thread([process, reports = reports_, whenFailed = std::move(whenFailed)]() mutable {
        ::WaitForSingleObject(process, INFINITE);
        DWORD status = 1;
        ::GetExitCodeProcess(process, &status);
        ::CloseHandle(process);
        if (status != 0) reports->Post(reports, std::move(whenFailed));
    }).detach();
}

void DesktopLauncher::OpenWatched(const std::string& documentOrAddress,
                                  std::function<void()> whenFailed) {
    // The shell may take its time (a handler that asks the network, a
    // slow disk): it is asked on a thread of its own, which COM needs set up.
    std::thread([target = WideText(documentOrAddress), reports = reports_,
                 whenFailed = std::move(whenFailed)]() mutable {
        const HRESULT com =
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        // No "Open with" box where no handler is set: the program's own
        // viewer, or its own message, answers instead.
        SHELLEXECUTEINFOW request{};
        request.cbSize = sizeof request;
        request.fMask = SEE_MASK_FLAG_NO_UI;
        request.lpVerb = L"open";
        request.lpFile = target.c_str();
        request.nShow = SW_SHOWNORMAL;
        const bool opened = ::ShellExecuteExW(&request);
        if (SUCCEEDED(com)) ::CoUninitialize();
        if (!opened) reports->Post(reports, std::move(whenFailed));
    }).detach();
}

}  // namespace vigilon
