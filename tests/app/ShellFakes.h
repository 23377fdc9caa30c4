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

class Journaling {
public:
    explicit Journaling(Journal& journal) : journal_(journal) {}

protected:
    void Note(const char* call) { journal_.push_back(call); }

private:
    Journal& journal_;
};

class JournalDisplay : public FakeDisplay, Journaling {
public:
    using Journaling::Journaling;
    void Refresh(const MonitorSettings& settings, const MonitorRun& run) override {
        Note("refresh");
        FakeDisplay::Refresh(settings, run);
    }
    void SetMenuChecks(bool log, bool email) override {
        Note("menu checks");
        FakeDisplay::SetMenuChecks(log, email);
    }
    void EnableStartStop(bool start, bool stop) override {
        Note(stop ? "start" : "stop");
        FakeDisplay::EnableStartStop(start, stop);
    }
};

class JournalPrompt : public FakePrompt, Journaling {
public:
    using Journaling::Journaling;
    void ShowMessage(const std::string& text, MessageIcon icon,
                     const std::string& caption) override {
        Note("message");
        FakePrompt::ShowMessage(text, icon, caption);
    }
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& caption) override {
        Note("question");
        return FakePrompt::AskYesNo(text, icon, caption);
    }
};

// The main window, its services and the ICMP check, in one journal.
class FakeWindow : public app::MainWindow,
                   public app::ShellServices,
                   public app::IcmpCheck,
                   Journaling {
public:
    using Journaling::Journaling;
    void ShowNormal() override { Note("show normal"); }
    void Withdraw() override { Note("withdraw"); }
    void Iconify() override { Note("iconify"); }
    void BringToFront() override { Note("raise"); }
    void EndModalRun() override { Note("end"); }
    void ShowAbout() override { Note("about"); }
    void OpenHelp() override { Note("help"); }
    void LaunchSimplePing() override { Note("simple ping"); }
    bool CanOpenIcmpSocket() override {
        Note("icmp check");
        return icmpAvailable;
    }
    bool icmpAvailable = true;
};

// Answers with outcome after running apply (which stands for the dialog,
// open while it runs).
class FakeEditing : public SettingsEditing, Journaling {
public:
    using Journaling::Journaling;
    EditOutcome EditSettings(EditPurpose purpose) override {
        Note(purpose == EditPurpose::EnableEmail ? "edit settings for e-mail" : "edit settings");
        open_ = true;
        if (apply) apply();
        open_ = false;
        return outcome;
    }
    bool EditOpen() const override { return open_; }
    void CloseOpenEdit() override { Note("close edit"); }
    EditOutcome outcome = EditOutcome::Applied;
    std::function<void()> apply;

private:
    bool open_ = false;
};

// A notification area that records what the tray icon asked of it.
class FakeTrayBackend : public app::TrayBackend, Journaling {
public:
    struct Call {
        app::NotifyIconMessage message;
        app::NotifyIconRecord record;
    };
    using Journaling::Journaling;
    bool HasNotificationArea() const override { return true; }
    bool TrayShown() const override { return trayShown; }
    bool NotifyIcon(app::NotifyIconMessage message, const app::NotifyIconRecord& record) override {
        Note(message == app::NotifyIconMessage::Add ? "tray add" : "tray change");
        calls.push_back({message, record});
        return true;
    }
    void TrackPopupMenu(const app::MenuItem&, int, app::TrayOwner&) override { Note("tray menu"); }
    bool trayShown = true;
    std::vector<Call> calls;
};

}  // namespace vigilon::test
