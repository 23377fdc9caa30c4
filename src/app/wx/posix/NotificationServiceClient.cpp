#include "NotificationServiceClient.h"

#include <gio/gio.h>

#include <cstring>
#include <memory>
#include <utility>

#include "NoticeMarkup.h"
#include "SessionBus.h"

namespace vigilon::app {

namespace {

constexpr const char* kServiceName = "org.freedesktop.Notifications";
constexpr const char* kServicePath = "/org/freedesktop/Notifications";
// Long enough for a service that the bus starts on the first call, short
// enough that a hung one leaves no pile of calls behind.
constexpr int kCallTimeoutMs = 5000;
constexpr guchar kNormalUrgency = 1;
constexpr gint32 kServerChoosesExpiry = -1;

// What an answer needs of the client that asked, and the cancellable that
// tells whether that client is still there. Answers come on the thread that
// asked, the one that destroys the client, so a cancellable seen uncancelled
// means a live client.
struct Asker {
    Asker(NotificationServiceClient* client, GCancellable* cancellable)
        : client(client), cancellable(G_CANCELLABLE(g_object_ref(cancellable))) {}
    ~Asker() { g_object_unref(cancellable); }
    Asker(const Asker&) = delete;
    Asker& operator=(const Asker&) = delete;

    bool ClientGone() const { return g_cancellable_is_cancelled(cancellable); }

    NotificationServiceClient* client;
    GCancellable* cancellable;
};

bool ListsBodyMarkup(GVariant* reply) {
    GVariant* list = g_variant_get_child_value(reply, 0);
    gsize count = 0;
    const gchar** names = g_variant_get_strv(list, &count);
    bool markup = false;
    for (gsize i = 0; i < count && !markup; ++i)
        markup = std::strcmp(names[i], "body-markup") == 0;
    g_free(names);
    g_variant_unref(list);
    return markup;
}

// The image-data hint: (width, height, rowstride, has alpha, bits per
// sample, channels, pixels).
GVariant* PictureHint(const NotificationPicture& picture) {
    constexpr int kChannels = 4;
    GVariant* pixels =
        g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, picture.rgba.data(), picture.rgba.size(), 1);
    return g_variant_new("(iiibii@ay)", picture.width, picture.height, picture.width * kChannels,
                         TRUE, 8, kChannels, pixels);
}

}  // namespace

NotificationServiceClient::NotificationServiceClient(std::string appName)
    : appName_(std::move(appName)), cancellable_(g_cancellable_new()) {}

NotificationServiceClient::~NotificationServiceClient() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (bus_ != nullptr) g_object_unref(bus_);
}

bool NotificationServiceClient::Send(Notification notification) {
    // Without the desktop's bus there is no service to answer, and asking
    // would start a bus of GIO's own.
    if (!SessionBusKnown()) return false;
    waiting_.push_back(std::move(notification));
    Advance();
    return true;
}

// One step further towards sending what waits: the bus, then the service's
// capabilities (asked until one answer comes), then the notifications.
void NotificationServiceClient::Advance() {
    if (bus_ == nullptr) {
        if (!askingForBus_) {
            askingForBus_ = true;
            g_bus_get(G_BUS_TYPE_SESSION, cancellable_, OnBus, new Asker(this, cancellable_));
        }
        return;
    }
    switch (capabilities_) {
        case Capabilities::Unknown:
            capabilities_ = Capabilities::Asking;
            g_dbus_connection_call(bus_, kServiceName, kServicePath, kServiceName,
                                   "GetCapabilities", nullptr, G_VARIANT_TYPE("(as)"),
                                   G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, cancellable_,
                                   OnCapabilities, new Asker(this, cancellable_));
            return;
        case Capabilities::Asking: return;
        case Capabilities::Known: SendWaiting(); return;
    }
}

void NotificationServiceClient::SendWaiting() {
    std::vector<Notification> sending;
    sending.swap(waiting_);
    for (const Notification& notification : sending)
        SendNow(notification);
}

void NotificationServiceClient::SendNow(const Notification& notification) {
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    // Normal urgency for the alert and the recovery alike: a low one is not
    // shown as a banner by some desktops.
    g_variant_builder_add(&hints, "{sv}", "urgency", g_variant_new_byte(kNormalUrgency));
    if (!notification.picture.rgba.empty())
        g_variant_builder_add(&hints, "{sv}", "image-data", PictureHint(notification.picture));
    const std::string body =
        bodyMarkup_ ? EscapeNoticeMarkup(notification.body) : notification.body;
    GVariant* parameters =
        g_variant_new("(susss@asa{sv}i)", appName_.c_str(), 0u, "", notification.summary.c_str(),
                      body.c_str(), g_variant_new_strv(nullptr, 0), &hints, kServerChoosesExpiry);
    // Each notice a new notification (replacing none), left to expire on the
    // desktop; the answer, its id, is not needed.
    g_dbus_connection_call(bus_, kServiceName, kServicePath, kServiceName, "Notify", parameters,
                           G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs,
                           cancellable_, OnNotified, nullptr);
}

void NotificationServiceClient::OnBus(GObject*, GAsyncResult* result, void* data) {
    const std::unique_ptr<Asker> asker(static_cast<Asker*>(data));
    GDBusConnection* bus = g_bus_get_finish(result, nullptr);
    if (asker->ClientGone()) {
        if (bus != nullptr) g_object_unref(bus);
        return;
    }
    NotificationServiceClient& client = *asker->client;
    client.askingForBus_ = false;
    if (bus == nullptr) {
        // Nothing can show them; the next notice asks for the bus again.
        client.waiting_.clear();
        return;
    }
    client.bus_ = bus;
    client.Advance();
}

void NotificationServiceClient::OnCapabilities(GObject* source, GAsyncResult* result, void* data) {
    const std::unique_ptr<Asker> asker(static_cast<Asker*>(data));
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
    if (asker->ClientGone()) {
        if (reply != nullptr) g_variant_unref(reply);
        return;
    }
    NotificationServiceClient& client = *asker->client;
    if (reply != nullptr) {
        client.capabilities_ = Capabilities::Known;
        client.bodyMarkup_ = ListsBodyMarkup(reply);
        g_variant_unref(reply);
    } else {
        // No answer (no service yet, or a hung one): these go as plain text,
        // and the next notice asks again.
        client.capabilities_ = Capabilities::Unknown;
    }
    client.SendWaiting();
}

void NotificationServiceClient::OnNotified(GObject* source, GAsyncResult* result, void*) {
    // A refusal or time-out is the service's own matter: nothing is said.
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
    if (reply != nullptr) g_variant_unref(reply);
}

}  // namespace vigilon::app
