#pragma once

#include <string>

namespace vigilon::app {

enum class NoticeKind { TargetDown, TargetAnswers };

// A short message for the desktop's notification service.
struct DesktopNotice {
    NoticeKind kind = NoticeKind::TargetDown;
    std::string summary;
    std::string body;
};

// The desktop's notifications. Nothing shows (and nothing is reported to the
// user) where no notification service answers.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // True when a notification service took the notice.
    virtual bool Notify(const DesktopNotice& notice) = 0;
};

}  // namespace vigilon::app
