#pragma once

namespace vigilon::app {

// Control identifiers of the settings dialog (template 131).
enum SettingsControlId : int {
    IDC_SMTP1 = 1004,
    IDC_SMTP2 = 1005,
    IDC_TARGET = 1007,
    IDC_CONTROL = 1008,
    IDC_DONE = 1012,
    IDC_TEST_SETTINGS = 1013,
    IDC_FREQUENCY = 1015,
    IDC_ENABLE_LOG = 1016,
    IDC_MAIL_TO = 1017,
    IDC_MAIL_FROM = 1018,
    IDC_TIMEOUTS = 1019,
    IDC_CANCEL = 1021,
    IDC_VIEW_LOG = 1023,
    IDC_ENABLE_EMAIL = 1024,
    IDC_CLEAR_LOG = 1025,
    IDC_TIMEOUTS_LABEL = 1026,
    IDC_TO_LABEL = 1027,
    IDC_FROM_LABEL = 1028,
    IDC_SMTP1_LABEL = 1029,
    IDC_SMTP2_LABEL = 1030,
    IDC_AUTO_MINIMIZE = 1048,
};

// Control identifiers of the self-test dialog (template 135).
enum SelfTestControlId : int {
    IDC_TARGET_ROW_LABEL = 1031,
    IDC_CONTROL_ROW_LABEL = 1032,
    IDC_SMTP1_ROW_LABEL = 1033,
    IDC_SMTP2_ROW_LABEL = 1034,
    IDC_MAIL1_ROW_LABEL = 1035,
    IDC_TARGET_RESULT = 1036,
    IDC_CONTROL_RESULT = 1037,
    IDC_SMTP1_PING_RESULT = 1038,
    IDC_SMTP2_PING_RESULT = 1039,
    IDC_SMTP1_MAIL_RESULT = 1040,
    IDC_SMTP2_MAIL_RESULT = 1041,
};

// Resource identifiers of the two dialog templates.
inline constexpr int kSettingsDialogId = 131;
inline constexpr int kSelfTestDialogId = 135;

}  // namespace vigilon::app
