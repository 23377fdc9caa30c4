#pragma once

#include <cstdint>
#include <string>
#include <vector>

// GLib's own declarations, so that this header needs no gio.h.
// NOLINTBEGIN(bugprone-reserved-identifier)
typedef struct _GCancellable GCancellable;
typedef struct _GDBusConnection GDBusConnection;
typedef struct _GObject GObject;
typedef struct _GAsyncResult GAsyncResult;
// NOLINTEND(bugprone-reserved-identifier)

namespace vigilon::app {

// A notice's picture as the notification service takes it: 8-bit RGBA rows
// without padding.
struct NotificationPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// One notification; texts in UTF-8, the body plain text.
struct Notification {
    std::string summary;
    std::string body;
    NotificationPicture picture;
};

// The desktop's notification service (org.freedesktop.Notifications on the
// session bus), never waited for: the bus, the service's capabilities and
// each notification are asked for with GDBus's asynchronous calls, answered
// on the thread's main loop (the window's), each with a short time-out. A
// hung or absent service only costs a call that fails later, unseen.
class NotificationServiceClient {
public:
    explicit NotificationServiceClient(std::string appName);
    // Cancels every call still out; their answers then touch nothing of this.
    ~NotificationServiceClient();
    NotificationServiceClient(const NotificationServiceClient&) = delete;
    NotificationServiceClient& operator=(const NotificationServiceClient&) = delete;

    // Hands the notification to the session bus, or queues it until the bus
    // and the service's capabilities are known; returns at once. False when
    // there is no session bus to hand it to.
    bool Send(Notification notification);

private:
    enum class Capabilities { Unknown, Asking, Known };

    void Advance();
    void SendWaiting();
    void SendNow(const Notification& notification);

    static void OnBus(GObject* source, GAsyncResult* result, void* data);
    static void OnCapabilities(GObject* source, GAsyncResult* result, void* data);
    static void OnNotified(GObject* source, GAsyncResult* result, void* data);

    std::string appName_;
    GCancellable* cancellable_;
    GDBusConnection* bus_ = nullptr;
    bool askingForBus_ = false;
    Capabilities capabilities_ = Capabilities::Unknown;
    bool bodyMarkup_ = false;
    std::vector<Notification> waiting_;  // until the bus and capabilities are known
};

}  // namespace vigilon::app
