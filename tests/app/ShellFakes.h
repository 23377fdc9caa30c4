#pragma once

// Fakes of the shell's ports. Each notes its calls in one shared journal,
// so that a test can check the order in which the shell made them.

#include <functional>
#include <string>
#include <vector>

#include "EngineFakes.h"
#include "FakePrompt.h"
#include "SettingsEditing.h"
#include "ShellPorts.h"
#include "TrayBackend.h"

namespace vigilon::test {

using Journal = std::vector<std::string>;

class JournalDisplay : public FakeDisplay {
public:
    explicit JournalDisplay(Journal& journal) : journal_(journal) {}
    void Refresh(const MonitorSettings& settings, const MonitorRun& run) override {
        journal_.push_back("refresh");
        FakeDisplay::Refresh(settings, run);
    }
    void SetMenuChecks(bool log, bool email) override {
        journal_.push_back("menu checks");
        FakeDisplay::SetMenuChecks(log, email);
    }
    void EnableStartStop(bool start, bool stop) override {
        journal_.push_back(stop ? "start" : "stop");
        FakeDisplay::EnableStartStop(start, stop);
    }

private:
    Journal& journal_;
};

class JournalPrompt : public FakePrompt {
public:
    explicit JournalPrompt(Journal& journal) : journal_(journal) {}
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override {
        journal_.push_back("message");
        FakePrompt::ShowMessage(text, icon, caption);
    }
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) override {
        journal_.push_back("question");
        return FakePrompt::AskYesNo(text, icon, caption);
    }

private:
    Journal& journal_;
};

class FakeMainWindow : public app::MainWindow {
public:
    explicit FakeMainWindow(Journal& journal) : journal_(journal) {}
    void ShowNormal() override { journal_.push_back("show normal"); }
    void Withdraw() override { journal_.push_back("withdraw"); }
    void Iconify() override { journal_.push_back("iconify"); }
    void BringToFront() override { journal_.push_back("raise"); }
    void EndModalRun() override { journal_.push_back("end"); }

private:
    Journal& journal_;
};

class FakeServices : public app::ShellServices {
public:
    explicit FakeServices(Journal& journal) : journal_(journal) {}
    void ShowAbout() override { journal_.push_back("about"); }
    void OpenHelp() override { journal_.push_back("help"); }
    void LaunchSimplePing() override { journal_.push_back("simple ping"); }

private:
    Journal& journal_;
};

class FakeIcmp : public app::IcmpCheck {
public:
    explicit FakeIcmp(Journal& journal) : journal_(journal) {}
    bool CanOpenIcmpSocket() override {
        journal_.push_back("icmp check");
        return available;
    }
    bool available = true;

private:
    Journal& journal_;
};

// Answers with outcome after running apply (which stands for the dialog).
class FakeEditing : public SettingsEditing {
public:
    explicit FakeEditing(Journal& journal) : journal_(journal) {}
    EditOutcome EditSettings() override {
        journal_.push_back("edit settings");
        if (apply) apply();
        return outcome;
    }
    EditOutcome outcome = EditOutcome::Applied;
    std::function<void()> apply;

private:
    Journal& journal_;
};

// A notification area that records what the tray icon asked of it.
class FakeTrayBackend : public app::TrayBackend {
public:
    struct Call {
        app::NotifyIconMessage message;
        app::NotifyIconRecord record;
    };
    explicit FakeTrayBackend(Journal& journal) : journal_(journal) {}
    bool HasNotificationArea() const override { return true; }
    bool TrayShown() const override { return trayShown; }
    bool NotifyIcon(app::NotifyIconMessage message, const app::NotifyIconRecord& record) override {
        journal_.push_back(message == app::NotifyIconMessage::Add ? "tray add" : "tray change");
        calls.push_back({message, record});
        return true;
    }
    void TrackPopupMenu(const app::MenuItem&, int, app::TrayOwner&) override {
        journal_.push_back("tray menu");
    }
    bool trayShown = true;
    std::vector<Call> calls;

private:
    Journal& journal_;
};

}  // namespace vigilon::test
