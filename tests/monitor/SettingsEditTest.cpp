// The settings edit against a scripted dialog: what the dialog is shown,
// how the run is paused and restarted, what is logged and saved.
#include <functional>

#include "EngineFixture.h"
#include "SettingsEditor.h"

namespace vigilon::test {
namespace {

constexpr const char* kSaved = "SAVED SETTINGS";

// Plays the user: while "open" it runs a script that may change the fields
// or press Cancel on an empty target.
class ScriptedDialog : public SettingsDialog {
public:
    struct Shared {
        std::vector<MonitorSettings> shown;
        std::function<void(MonitorSettings& fields, bool& cancelled)> user;
        int runs = 0;
        int broughtForward = 0;
        int dismissed = 0;
        bool flagClearedBeforeRun = false;
    };
    explicit ScriptedDialog(Shared& shared) : shared_(shared) {}

    void SetFields(const MonitorSettings& fields) override { fields_ = fields; }
    void SetCancelledWithoutTarget(bool cancelled) override { cancelled_ = cancelled; }
    void RunModal() override {
        ++shared_.runs;
        shared_.flagClearedBeforeRun = !cancelled_;
        shared_.shown.push_back(fields_);
        if (shared_.user) shared_.user(fields_, cancelled_);
    }
    MonitorSettings Fields() const override { return fields_; }
    bool CancelledWithoutTarget() const override { return cancelled_; }
    void BringForward() override { ++shared_.broughtForward; }
    void Dismiss() override { ++shared_.dismissed; }

private:
    Shared& shared_;
    MonitorSettings fields_;
    bool cancelled_ = true;  // a stale flag the edit must clear
};

class ScriptedDialogs : public SettingsDialogFactory {
public:
    std::unique_ptr<SettingsDialog> NewSettingsDialog() override {
        return std::make_unique<ScriptedDialog>(shared);
    }
    ScriptedDialog::Shared shared;
};

// Records each save; announces it through the log it is given, as the
// settings file does while logging is on.
class FakeSaver : public SettingsSaver {
public:
    bool Save(const MonitorSettings& settings, LogWriter& writeLog) override {
        writeLog.Write(kSaved);
        saved.push_back(settings);
        return succeed;
    }
    std::vector<MonitorSettings> saved;
    bool succeed = true;
};

class SettingsEdit : public EngineTest {
protected:
    EditOutcome Edit(std::function<void(MonitorSettings&, bool&)> user = nullptr,
                     EditPurpose purpose = EditPurpose::Settings) {
        dialogs.shared.user = std::move(user);
        return editor.EditSettings(purpose);
    }
    // The run as a daily user would have it: a few cycles, one time-out.
    void RunAWhile() {
        engine.ToggleMonitoring();
        Answer();
        Fire(TIMER_TRAY);
        TimeOut();
        clock.now += 40;
        Fire(TIMER_CLOCK);
        eventLog.lines.clear();
    }

    ScriptedDialogs dialogs;
    FakeSaver saver;
    SettingsEditor editor{engine, dialogs, saver};
};

TEST_F(SettingsEdit, OpenDialogPausesPingAndClockButNotAPendingTrayStep) {
    engine.ToggleMonitoring();  // arms all three
    bool pingArmed = true, clockArmed = true, trayArmed = false;
    Edit([&](MonitorSettings&, bool&) {
        pingArmed = timers.IsArmed(TIMER_PING);
        clockArmed = timers.IsArmed(TIMER_CLOCK);
        trayArmed = timers.IsArmed(TIMER_TRAY);
    });
    EXPECT_FALSE(pingArmed);
    EXPECT_FALSE(clockArmed);
    EXPECT_TRUE(trayArmed);
    EXPECT_TRUE(dialogs.shared.flagClearedBeforeRun);
}

TEST_F(SettingsEdit, FirstRunShowsFirstRunValuesWithTheDefaultControlHost) {
    Configure([](MonitorSettings& record) {
        record.targetAddress.clear();
        record.pingFrequency = 99;
        record.controlAddress = "control.example";
        record.mailTo = "ops@example.org";
        record.logEnabled = 0;
        record.autoMinimize = 1;
    });
    Edit();

    MonitorSettings expected = FirstRunSettings();
    expected.controlAddress = kDefaultControlHost;
    ASSERT_EQ(dialogs.shared.shown.size(), 1u);
    EXPECT_EQ(dialogs.shared.shown[0], expected);
}

TEST_F(SettingsEdit, EmptyControlHostShowsTheDefaultWhichTheRecordThenKeeps) {
    Configure([](MonitorSettings& s) { s.controlAddress.clear(); });
    Configure([&](MonitorSettings& s) { s.mailTo = "ops@example.org"; });
    Edit();  // closed with Escape: nothing read, everything applied

    ASSERT_EQ(dialogs.shared.shown.size(), 1u);
    EXPECT_EQ(dialogs.shared.shown[0].controlAddress, kDefaultControlHost);
    EXPECT_EQ(dialogs.shared.shown[0].mailTo, "ops@example.org");
    EXPECT_EQ(dialogs.shared.shown[0].targetAddress, kTarget);
    EXPECT_EQ(engine.Settings().controlAddress, kDefaultControlHost);
}

TEST_F(SettingsEdit, CancelWithoutTargetEndsTheProgramWithNothingAppliedOrSaved) {
    Configure([](MonitorSettings& s) { s.targetAddress.clear(); });
    engine.ToggleMonitoring();
    eventLog.lines.clear();
    const MonitorSettings before = engine.Settings();
    const EditOutcome outcome = Edit([](MonitorSettings& fields, bool& cancelled) {
        fields.controlAddress = "typed.example";
        cancelled = true;
    });
    EXPECT_EQ(outcome, EditOutcome::EndProgram);
    EXPECT_TRUE(saver.saved.empty());
    EXPECT_EQ(engine.Settings(), before);
    EXPECT_TRUE(eventLog.lines.empty());
    EXPECT_FALSE(timers.IsArmed(TIMER_PING)) << "the program ends: nothing is re-armed";
    EXPECT_FALSE(timers.IsArmed(TIMER_CLOCK));
}

TEST_F(SettingsEdit, DialogLeftWithoutDoneIsAppliedAndSavedEmptyTargetIncluded) {
    Configure([](MonitorSettings& s) { s.targetAddress.clear(); });
    const EditOutcome outcome = Edit([](MonitorSettings& fields, bool&) {
        fields.mailTo = "read@example.org";  // a focus change read it; then Escape
        fields.pingFrequency = 5;            // read and reported, but kept
        fields.emailEnabled = 0;
    });
    EXPECT_EQ(outcome, EditOutcome::Applied);
    ASSERT_EQ(saver.saved.size(), 1u);
    EXPECT_EQ(saver.saved[0].targetAddress, "");
    EXPECT_EQ(saver.saved[0].mailTo, "read@example.org");
    EXPECT_EQ(engine.Settings().pingFrequency, 5);
    EXPECT_EQ(engine.Settings().controlAddress, kDefaultControlHost);
    EXPECT_FALSE(display.emailChecked) << "the menu follows the switches";
    EXPECT_TRUE(display.logChecked);
}

TEST_F(SettingsEdit, FrequencyChangeKeepsTheCountersAndTimesTheNextCycleFromTheEdit) {
    RunAWhile();
    ASSERT_EQ(timers.Period(TIMER_PING), 5000u) << "in the time-out rhythm";
    const MonitorRun before = run();
    const int refreshes = display.refreshes;
    Edit([](MonitorSettings& fields, bool&) { fields.pingFrequency = 60; });

    EXPECT_EQ(eventLog.lines, std::vector<std::string>{kSaved});
    EXPECT_EQ(timers.Period(TIMER_PING), 60000u);
    EXPECT_EQ(timers.Period(TIMER_CLOCK), 1000u);
    EXPECT_FALSE(timers.IsArmed(TIMER_TRAY)) << "no auto-minimize: the tray step stays done";
    EXPECT_EQ(run().countdown, 60);
    EXPECT_EQ(display.shownCountdown, 60);
    EXPECT_GT(display.refreshes, refreshes);
    EXPECT_TRUE(run().targetDown);
    EXPECT_EQ(run().pingNumber, 2);
    EXPECT_EQ(run().pingNumber, before.pingNumber);
    EXPECT_EQ(run().targetTimeouts, 1);
    EXPECT_EQ(run().timeRunningText, before.timeRunningText);
    EXPECT_EQ(run().runStart, before.runStart);
    EXPECT_EQ(network.addressLookups.size(), 1u);
    Answer();  // the next cycle uses the stored address, not a new lookup
    EXPECT_EQ(network.addressLookups.size(), 1u);
}

TEST_F(SettingsEdit, NewTargetResetsTheRunAndIsLoggedBeforeTheSave) {
    RunAWhile();
    network.addresses["other.example"] = "198.51.100.9";
    const std::int64_t editedAt = clock.now += 7;
    Edit([](MonitorSettings& fields, bool&) { fields.targetAddress = "other.example"; });

    EXPECT_EQ(eventLog.lines,
              (std::vector<std::string>{
                  "***** SETTINGS UPDATED, Vigilon now aimed at: other.example *****", kSaved}));
    EXPECT_EQ(run().pingNumber, 0);
    EXPECT_EQ(run().targetTimeouts, 0);
    EXPECT_EQ(run().runStart, editedAt);
    EXPECT_EQ(run().targetIp, "");
    EXPECT_FALSE(run().targetDown);
    EXPECT_TRUE(display.LampVisible(Lamp::TargetDown)) << "the lamps wait for the next change";
    EXPECT_TRUE(run().running);

    Answer();
    EXPECT_EQ(network.addressLookups.back(), "other.example");
    EXPECT_EQ(network.pings.back().host, "198.51.100.9");
}

TEST_F(SettingsEdit, UpdatedLineFollowsTheOldLogSwitchAndTheSaveTheNewOne) {
    Configure([&](MonitorSettings& s) { s.logEnabled = 0; });
    Edit([](MonitorSettings& fields, bool&) {
        fields.targetAddress = "a.example";
        fields.logEnabled = 1;
    });
    EXPECT_EQ(eventLog.lines, std::vector<std::string>{kSaved});

    eventLog.lines.clear();
    Edit([](MonitorSettings& fields, bool&) {
        fields.targetAddress = "b.example";
        fields.logEnabled = 0;
    });
    EXPECT_EQ(eventLog.lines, std::vector<std::string>{
                                  "***** SETTINGS UPDATED, Vigilon now aimed at: b.example *****"});
}

TEST_F(SettingsEdit, NewTargetWhileStoppedResetsButStartsNoTimer) {
    engine.ToggleMonitoring();
    Answer();
    engine.ToggleMonitoring();
    Edit([](MonitorSettings& fields, bool&) { fields.targetAddress = "other.example"; });
    EXPECT_EQ(run().pingNumber, 0);
    EXPECT_FALSE(run().running);
    EXPECT_FALSE(timers.IsArmed(TIMER_PING));
    EXPECT_FALSE(timers.IsArmed(TIMER_CLOCK));
}

TEST_F(SettingsEdit, AutoMinimizeArmsTheTrayStepAgain) {
    RunAWhile();
    ASSERT_FALSE(timers.IsArmed(TIMER_TRAY));
    Edit([](MonitorSettings& fields, bool&) { fields.autoMinimize = 1; });
    EXPECT_EQ(timers.Period(TIMER_TRAY), 1500u);
    Fire(TIMER_TRAY);
    EXPECT_TRUE(display.hidden);
}

TEST_F(SettingsEdit, FrequencyOutsideTheRangeNeverProbesWithoutPause) {
    engine.ToggleMonitoring();
    Edit([](MonitorSettings& fields, bool&) { fields.pingFrequency = 0; });
    EXPECT_EQ(timers.Period(TIMER_PING), 1000u);
    EXPECT_EQ(engine.Settings().pingFrequency, 0) << "stored as the dialog left it";
}

TEST_F(SettingsEdit, SecondEditWhileTheDialogIsOpenOnlyBringsItForward) {
    RunAWhile();
    EditOutcome nested = EditOutcome::SaveFailed;
    bool pausedAfterNested = false;
    Edit([&](MonitorSettings& fields, bool&) {
        if (dialogs.shared.runs > 1) return;  // a second dialog: the guard failed
        fields.mailTo = "first@example.org";
        nested = editor.EditSettings();  // the tray menu's Settings, inside the modal run
        pausedAfterNested = !timers.IsArmed(TIMER_PING) && editor.EditOpen();
        editor.CloseOpenEdit();  // as the tray menu's Exit asks
    });

    EXPECT_EQ(nested, EditOutcome::Applied);
    EXPECT_TRUE(pausedAfterNested) << "nothing applied while the dialog is open";
    EXPECT_EQ(dialogs.shared.broughtForward, 1);
    EXPECT_EQ(dialogs.shared.dismissed, 1);
    ASSERT_EQ(saver.saved.size(), 1u);
    EXPECT_EQ(saver.saved[0].mailTo, "first@example.org");
    EXPECT_TRUE(timers.IsArmed(TIMER_PING));

    editor.CloseOpenEdit();  // nothing open: nothing to close
    Edit();                  // and the next edit opens its dialog again
    EXPECT_EQ(dialogs.shared.dismissed, 1);
    EXPECT_EQ(dialogs.shared.runs, 2);
}

TEST_F(SettingsEdit, UnwritableFileIsReportedAfterTheRecordIsApplied) {
    saver.succeed = false;
    EXPECT_EQ(Edit([](MonitorSettings& fields, bool&) { fields.mailTo = "x@example.org"; }),
              EditOutcome::SaveFailed);
    EXPECT_EQ(engine.Settings().mailTo, "x@example.org");
}

// "Enable Email" with fields missing: the dialog shows e-mail on, and only
// an edit that gives it somewhere to send to keeps it on.
TEST_F(SettingsEdit, EnablingEmailLeftWithoutItsFieldsLeavesEmailOff) {
    Configure([&](MonitorSettings& s) { s.emailEnabled = 0; });
    Edit([](MonitorSettings& fields, bool&) { fields.mailTo = "ops@example.org"; },  // then Escape
         EditPurpose::EnableEmail);
    EXPECT_EQ(dialogs.shared.shown.back().emailEnabled, 1);
    EXPECT_EQ(engine.Settings().emailEnabled, 0);
    EXPECT_EQ(engine.Settings().mailTo, "ops@example.org") << "what was typed is kept";
    EXPECT_EQ(saver.saved.back().emailEnabled, 0);
    EXPECT_FALSE(display.emailChecked);

    Edit(
        [](MonitorSettings& fields, bool&) {
            fields.smtpServer1 = "smtp.example.org";
            fields.mailFrom = "Vigilon";
        },
        EditPurpose::EnableEmail);
    EXPECT_EQ(engine.Settings().emailEnabled, 1);
    EXPECT_TRUE(display.emailChecked);
}

// The tray menu stays usable while the dialog is open. Its commands wait for
// the edit: a run never starts with the settings about to change, and a
// switch flipped meanwhile is not overwritten by the dialog's values.
TEST_F(SettingsEdit, CommandsChosenWhileTheDialogIsOpenRunAfterItApplied) {
    Edit([&](MonitorSettings& fields, bool&) {
        fields.targetAddress = "new.example";
        fields.logEnabled = 1;
        engine.ToggleMonitoring();  // tray Start / Stop
        engine.ToggleLog();         // Enable Log
        engine.ToggleLog();
        EXPECT_FALSE(run().running);
        EXPECT_FALSE(timers.IsArmed(TIMER_PING));
    });
    EXPECT_TRUE(run().running);
    EXPECT_EQ(engine.Settings().logEnabled, 1) << "flipped twice after the edit";
    EXPECT_EQ(eventLog.lines.front(),
              "***** SETTINGS UPDATED, Vigilon now aimed at: new.example *****");
    EXPECT_EQ(eventLog.lines[1], "***** Vigilon STARTED :: aimed at: new.example *****");
    EXPECT_EQ(eventLog.lines.back(), kSaved) << "the save closes the edit";
}

// A cycle still out when the dialog opens ends without arming the next; the
// edit's apply arms it, once.
TEST_F(SettingsEdit, ACycleUnderWayWhenTheDialogOpensArmsNoTimer) {
    engine.ToggleMonitoring();
    work.hold = true;
    Fire(TIMER_PING);
    Edit([&](MonitorSettings&, bool&) {
        while (work.RunHeld()) {}
        EXPECT_FALSE(engine.CycleInFlight());
        EXPECT_FALSE(timers.IsArmed(TIMER_PING)) << "no cycle while the dialog is open";
    });
    EXPECT_EQ(run().pingNumber, 1);
    EXPECT_EQ(timers.Period(TIMER_PING), 30000u);
}

// Done pressed while a cycle is still out: the cycle ends with the new
// settings and no second cycle starts beside it.
TEST_F(SettingsEdit, AnEditAppliedDuringACycleLeavesOneCycle) {
    engine.ToggleMonitoring();
    work.hold = true;
    Fire(TIMER_PING);
    Edit([](MonitorSettings& fields, bool&) { fields.pingFrequency = 60; });
    EXPECT_TRUE(engine.CycleInFlight());
    EXPECT_FALSE(timers.IsArmed(TIMER_PING)) << "the cycle under way arms the next one";
    while (work.RunHeld()) {}
    EXPECT_EQ(run().pingNumber, 1);
    EXPECT_EQ(timers.Period(TIMER_PING), 60000u);
}

}  // namespace
}  // namespace vigilon::test
