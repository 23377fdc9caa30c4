// The settings dialog's rules through a fake window: transfers, enable
// rules, required entries and the buttons.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "DialogIds.h"
#include "EventLog.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FakePrompt.h"
#include "FakeSettingsView.h"
#include "LogLine.h"
#include "SettingsForm.h"
#include "TempWorkDir.h"

namespace vigilon::test {
namespace {

using namespace app;

constexpr const char* kFrequencyRange = "Please enter an integer between 10 and 86400.";
constexpr const char* kTimeoutsRange = "Please enter an integer between 1 and 1000.";
constexpr const char* kNotAnInteger = "Please enter an integer.";

// A prompt that can act while its box is up, as a user would.
class ActingPrompt : public FakePrompt {
public:
    void ShowMessage(const std::string& text, MessageIcon icon,
                     const std::string& caption) override {
        FakePrompt::ShowMessage(text, icon, caption);
        if (auto act = std::exchange(whileShown, nullptr)) act();
    }
    std::function<void()> whileShown;
};

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        MonitorSettings& f = form.fields;
        f.targetAddress = "target.example";
        f.pingFrequency = 30;
        f.controlAddress = "control.example";
        f.mailFrom = "watch@example.org";
        f.mailTo = "ops@example.org";
        f.smtpServer1 = "smtp1.example";
        f.smtpServer2 = "";
        f.timeoutsBeforeEmail = 5;
        f.logEnabled = 1;
        f.emailEnabled = 1;
        f.autoMinimize = 0;
    }
    void Open() {
        form.OnOpen();
        prompt.boxes.clear();
        view.focused.clear();
        view.enableOrder.clear();
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const FakePrompt::Box& box : prompt.boxes)
            texts.push_back(box.text);
        return texts;
    }
    void Type(int id, const std::string& text) { view.texts[id] = text; }

    ActingPrompt prompt;
    FakeLauncher launcher;
    FakeClock clock;
    PromptProblems problems{prompt};
    EventLog eventLog{kLogFileName, problems, launcher, clock};
    FakeSettingsView view;
    SettingsForm form{view, prompt, eventLog};
};

using SettingsTransfer = SettingsFormTest;

TEST_F(SettingsTransfer, ControlsShowTheFieldsAndGiveThemBackUnchanged) {
    form.fields.targetAddress = "  spaced target ";
    form.fields.pingFrequency = 86400;
    Open();
    EXPECT_EQ(view.texts[IDC_TARGET], "  spaced target ");
    EXPECT_EQ(view.texts[IDC_FREQUENCY], "86400");
    EXPECT_EQ(view.texts[IDC_TIMEOUTS], "5");
    EXPECT_EQ(view.texts[IDC_SMTP2], "");
    EXPECT_TRUE(view.checks[IDC_ENABLE_LOG]);
    EXPECT_TRUE(view.checks[IDC_ENABLE_EMAIL]);
    EXPECT_FALSE(view.checks[IDC_AUTO_MINIMIZE]);

    const MonitorSettings before = form.fields;
    Type(IDC_FREQUENCY, "45");
    ASSERT_TRUE(form.TransferFromControls());
    MonitorSettings expected = before;
    expected.pingFrequency = 45;
    EXPECT_EQ(form.fields, expected);
}

TEST_F(SettingsTransfer, CheckBoxFieldOutsideZeroToTwoIsClearedFirst) {
    form.fields.autoMinimize = 3;
    form.fields.logEnabled = -1;
    form.fields.emailEnabled = 2;
    form.TransferToControls();
    EXPECT_EQ(form.fields.autoMinimize, 0);
    EXPECT_EQ(form.fields.logEnabled, 0);
    EXPECT_EQ(form.fields.emailEnabled, 2);
    EXPECT_FALSE(view.checks[IDC_AUTO_MINIMIZE]);
    EXPECT_FALSE(view.checks[IDC_ENABLE_LOG]);
    EXPECT_TRUE(view.checks[IDC_ENABLE_EMAIL]);
    ASSERT_TRUE(form.TransferFromControls());
    EXPECT_EQ(form.fields.emailEnabled, 1);
}

TEST_F(SettingsTransfer, FirstRefusalStopsWithEarlierFieldsNewAndLaterOnesOld) {
    Open();
    view.checks[IDC_ENABLE_LOG] = false;
    Type(IDC_CONTROL, "new-control");
    Type(IDC_MAIL_TO, "new-to");
    Type(IDC_SMTP1, "new-smtp1");
    Type(IDC_SMTP2, "new-smtp2");
    Type(IDC_TARGET, "new-target");
    Type(IDC_FREQUENCY, "abc");
    Type(IDC_TIMEOUTS, "9");
    Type(IDC_MAIL_FROM, "new-from");
    view.checks[IDC_ENABLE_EMAIL] = false;
    view.checks[IDC_AUTO_MINIMIZE] = true;

    EXPECT_FALSE(form.TransferFromControls());
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, kNotAnInteger);
    EXPECT_EQ(prompt.boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompt.boxes[0].caption, "Vigilon");
    EXPECT_EQ(view.focused, std::vector<int>{IDC_FREQUENCY});

    const MonitorSettings& f = form.fields;
    EXPECT_EQ(f.logEnabled, 0);
    EXPECT_EQ(f.controlAddress, "new-control");
    EXPECT_EQ(f.mailTo, "new-to");
    EXPECT_EQ(f.smtpServer1, "new-smtp1");
    EXPECT_EQ(f.smtpServer2, "new-smtp2");
    EXPECT_EQ(f.targetAddress, "new-target");
    EXPECT_EQ(f.pingFrequency, 30) << "not an integer: the field keeps its value";
    EXPECT_EQ(f.timeoutsBeforeEmail, 5);
    EXPECT_EQ(f.mailFrom, "watch@example.org");
    EXPECT_EQ(f.emailEnabled, 1);
    EXPECT_EQ(f.autoMinimize, 0);
}

TEST_F(SettingsTransfer, ValuesOutsideTheRangesAreStoredThenRefused) {
    Open();
    for (const auto& [frequency, timeouts, message, stored] :
         std::vector<std::tuple<std::string, std::string, std::string, int>>{
             {"9", "5", kFrequencyRange, 9},
             {"86401", "5", kFrequencyRange, 86401},
             {"10", "0", kTimeoutsRange, 0},
             {"86400", "1001", kTimeoutsRange, 1001}}) {
        prompt.boxes.clear();
        view.focused.clear();
        Type(IDC_FREQUENCY, frequency);
        Type(IDC_TIMEOUTS, timeouts);
        EXPECT_FALSE(form.TransferFromControls()) << frequency << " " << timeouts;
        EXPECT_EQ(Messages(), std::vector<std::string>{message});
        const int box = message == kFrequencyRange ? IDC_FREQUENCY : IDC_TIMEOUTS;
        EXPECT_EQ(view.focused, std::vector<int>{box});
        EXPECT_EQ(
            box == IDC_FREQUENCY ? form.fields.pingFrequency : form.fields.timeoutsBeforeEmail,
            stored);
    }
    Type(IDC_FREQUENCY, "10");
    Type(IDC_TIMEOUTS, "1000");
    EXPECT_TRUE(form.TransferFromControls()) << "the ends belong to the ranges";
    Type(IDC_TIMEOUTS, "1");
    EXPECT_TRUE(form.TransferFromControls());
}

using EnableRules = SettingsFormTest;

TEST_F(EnableRules, EmailSwitchGraysTheMailControlsInOrderButTheyAreStillChecked) {
    Open();
    view.checks[IDC_ENABLE_EMAIL] = false;
    form.OnEmailEnableClicked();
    EXPECT_EQ(view.enableOrder,
              (std::vector<int>{IDC_TIMEOUTS_LABEL, IDC_TO_LABEL, IDC_FROM_LABEL, IDC_SMTP1_LABEL,
                                IDC_SMTP2_LABEL, IDC_TIMEOUTS, IDC_MAIL_TO, IDC_MAIL_FROM,
                                IDC_SMTP1, IDC_SMTP2}));
    for (int id : view.enableOrder)
        EXPECT_FALSE(view.IsEnabled(id)) << id;
    EXPECT_TRUE(view.IsEnabled(IDC_ENABLE_EMAIL));
    EXPECT_EQ(view.texts[IDC_MAIL_TO], "ops@example.org") << "a disabled box keeps its text";

    // With e-mail off the mail entries are not required, but the disabled
    // time-outs box is still read and checked.
    Type(IDC_MAIL_TO, "");
    Type(IDC_SMTP1, "");
    Type(IDC_MAIL_FROM, "");
    Type(IDC_TIMEOUTS, "0");
    form.OnDone();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kTimeoutsRange, kTimeoutsRange}));
    EXPECT_EQ(view.texts[IDC_MAIL_FROM], "watch@example.org") << "read after the refused box";
    Type(IDC_MAIL_FROM, "");
    Type(IDC_TIMEOUTS, "4");
    Type(IDC_TARGET, " ");  // a single space is an entry
    form.OnDone();
    EXPECT_EQ(view.closed, std::vector<DialogResult>{DialogResult::Ok});
    EXPECT_EQ(form.fields.mailFrom, "") << "no default sender while e-mail is off";
    EXPECT_EQ(form.fields.targetAddress, " ");
}

using FrequencyFocus = SettingsFormTest;

TEST_F(FrequencyFocus, FocusLeavingForTheRefusalsOwnBoxStartsNoSecondTransfer) {
    Open();
    Type(IDC_FREQUENCY, "5");
    // The message box takes the focus from the frequency box while it is up.
    prompt.whileShown = [this] { form.OnFrequencyFocusLost(); };
    form.OnFrequencyFocusLost();
    EXPECT_EQ(Messages(), std::vector<std::string>{kFrequencyRange});
}

TEST_F(FrequencyFocus, CancelFlagsOnlyATargetEmptyAtTheLastReadAndEscapeNever) {
    form.fields.targetAddress.clear();
    Open();
    Type(IDC_TARGET, "typed.example");  // typed, but not read yet
    form.OnEscape();
    EXPECT_FALSE(form.cancelledWithoutTarget);
    form.OnCancel();
    EXPECT_TRUE(form.cancelledWithoutTarget);
    EXPECT_EQ(view.closed, (std::vector<DialogResult>{DialogResult::Cancel, DialogResult::Cancel}));

    form.cancelledWithoutTarget = false;
    form.OnFrequencyFocusLost();
    form.OnCancel();
    EXPECT_FALSE(form.cancelledWithoutTarget);
}

using TestSettingsButton = SettingsFormTest;

TEST_F(TestSettingsButton, RunsOnCopiesWithTheDefaultedSender) {
    Open();
    Type(IDC_MAIL_FROM, "");
    Type(IDC_SMTP2, "smtp2.example");
    form.OnTestSettings();
    EXPECT_TRUE(prompt.boxes.empty());
    ASSERT_EQ(view.selfTests.size(), 1u);
    const SelfTestInputs& in = view.selfTests[0];
    EXPECT_EQ(in.targetAddress, "target.example");
    EXPECT_EQ(in.controlAddress, "control.example");
    EXPECT_EQ(in.mailTo, "ops@example.org");
    EXPECT_EQ(in.mailFrom, "Vigilon");
    EXPECT_EQ(in.smtpServer1, "smtp1.example");
    EXPECT_EQ(in.smtpServer2, "smtp2.example");
    EXPECT_EQ(in.emailEnabled, 1);
    EXPECT_EQ(view.texts[IDC_MAIL_FROM], "Vigilon");
    EXPECT_TRUE(view.closed.empty()) << "the settings dialog carries on";

    Type(IDC_FREQUENCY, "5");  // a refused box does not stop the test
    form.OnTestSettings();
    EXPECT_EQ(Messages(), std::vector<std::string>{kFrequencyRange});
    EXPECT_EQ(view.selfTests.size(), 2u);
}

TEST_F(TestSettingsButton, Ipv6AddressesAndBracketedUrlsAreTakenAsTyped) {
    Open();
    Type(IDC_TARGET, "2001:db8::7");
    Type(IDC_CONTROL, "::1");
    Type(IDC_SMTP1, "smtps://me:pw@[2001:db8::25]:2465");
    Type(IDC_SMTP2, "2001:db8::26");
    form.OnTestSettings();
    EXPECT_TRUE(prompt.boxes.empty());
    ASSERT_EQ(view.selfTests.size(), 1u);
    EXPECT_EQ(view.selfTests[0].targetAddress, "2001:db8::7");
    EXPECT_EQ(view.selfTests[0].smtpServer1, "smtps://me:pw@[2001:db8::25]:2465");
    form.OnDone();
    EXPECT_EQ(view.closed, std::vector<DialogResult>{DialogResult::Ok});
    EXPECT_EQ(form.fields.controlAddress, "::1");
    EXPECT_EQ(form.fields.smtpServer2, "2001:db8::26");
}

TEST_F(TestSettingsButton, MissingEntriesStopItButNotWithEmailOff) {
    Open();
    Type(IDC_MAIL_TO, "");
    form.OnTestSettings();
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Please provide entries for the following:\n\nTo Email Address\n"});
    EXPECT_TRUE(view.selfTests.empty());

    view.checks[IDC_ENABLE_EMAIL] = false;
    form.OnTestSettings();
    ASSERT_EQ(view.selfTests.size(), 1u);
    EXPECT_EQ(view.selfTests[0].emailEnabled, 0);
}

// Clear Log asks first; a log that cannot be emptied is told, not lost.
TEST_F(SettingsFormTest, ClearLogAsksFirstAndTellsWhyItCouldNot) {
    TempWorkDir dir;
    { std::ofstream(kLogFileName) << "keep\r\n"; }
    prompt.answers = {false};
    form.OnClearLog();
    EXPECT_EQ(Messages(), std::vector<std::string>{kLogClearQuestion});
    EXPECT_EQ(prompt.boxes[0].icon, MessageIcon::Question);
    EXPECT_EQ(std::filesystem::file_size(kLogFileName), 6u);

    const int holder = ::open(kLogFileName, O_WRONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    prompt.boxes.clear();
    prompt.answers = {true};
    form.OnClearLog();
    ::close(holder);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kLogClearQuestion, kLogClearFailedMessage}));
    EXPECT_EQ(prompt.boxes[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(std::filesystem::file_size(kLogFileName), 6u);
}

}  // namespace
}  // namespace vigilon::test
