#include "SessionBus.h"

#include <gio/gio.h>
#include <sys/stat.h>

#include <string>

namespace vigilon::app {

namespace {

constexpr int kCallTimeoutMs = 1000;
constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";

// One call on the bus, its reply or nullptr; the reply is the caller's.
GVariant* Call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
               const char* method, GVariant* parameters, const char* replyType) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, name, path, interface, method, parameters, G_VARIANT_TYPE(replyType),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &error);
    if (error != nullptr) g_error_free(error);
    return reply;
}

bool ReplyIsTrue(GVariant* reply) {
    if (reply == nullptr) return false;
    GVariant* value = g_variant_get_child_value(reply, 0);
    // A property comes wrapped in a variant, a method's result is not.
    GVariant* inner = g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT)
                          ? g_variant_get_variant(value)
                          : g_variant_ref(value);
    const bool isTrue =
        g_variant_is_of_type(inner, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(inner);
    g_variant_unref(inner);
    g_variant_unref(value);
    g_variant_unref(reply);
    return isTrue;
}

}  // namespace

bool SessionBusKnown() {
    const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') return true;
    const char* runtime = g_getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') return false;
    struct stat status {};
    return stat((std::string(runtime) + "/bus").c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

bool StatusNotifierHostPresent() {
    if (!SessionBusKnown()) return false;
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus == nullptr) {
        g_error_free(error);
        return false;
    }
    bool present = ReplyIsTrue(Call(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                    "org.freedesktop.DBus", "NameHasOwner",
                                    g_variant_new("(s)", kWatcherName), "(b)"));
    // A watcher with no host to show the items (a leftover of a desktop that
    // went) would leave the icon nowhere.
    if (present)
        present = ReplyIsTrue(Call(
            bus, kWatcherName, "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", kWatcherName, "IsStatusNotifierHostRegistered"), "(v)"));
    g_object_unref(bus);
    return present;
}

}  // namespace vigilon::app
