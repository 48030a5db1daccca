#include "platform/desktop/session_calls.h"

#include <gio/gio.h>

#include <filesystem>
#include <system_error>

namespace tarvolin {

namespace {

constexpr int kShowItemsTimeoutMs = 2000;

void takeError(GError* gerror, std::string* error, const char* fallback) {
    if (error) *error = (gerror && gerror->message) ? gerror->message : fallback;
    if (gerror) g_error_free(gerror);
}

// The shared bus connection. It must not end the program when the bus goes
// away, which is the default for the shared connections.
GDBusConnection* busConnection(GBusType type, std::string* error) {
    GError* gerror = nullptr;
    GDBusConnection* connection = g_bus_get_sync(type, nullptr, &gerror);
    if (!connection) {
        takeError(gerror, error, "No message bus");
        return nullptr;
    }
    g_dbus_connection_set_exit_on_close(connection, FALSE);
    return connection;
}

}  // namespace

std::string fileUri(const std::string& path) {
    if (path.empty()) return "";
    std::string absolute = path;
    if (absolute[0] != '/') {
        std::error_code ec;
        absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
        if (ec) return "";
    }
    gchar* uri = g_filename_to_uri(absolute.c_str(), nullptr, nullptr);
    if (!uri) return "";
    std::string result = uri;
    g_free(uri);
    return result;
}

bool showItemInFileManager(const std::string& path, std::string* error) {
    const std::string uri = fileUri(path);
    if (uri.empty()) {
        if (error) *error = "Not a local path";
        return false;
    }
    GDBusConnection* connection = busConnection(G_BUS_TYPE_SESSION, error);
    if (!connection) return false;

    GVariantBuilder uris;
    g_variant_builder_init(&uris, G_VARIANT_TYPE("as"));
    g_variant_builder_add(&uris, "s", uri.c_str());
    GError* gerror = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        connection, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(ass)", &uris, ""), nullptr,
        G_DBUS_CALL_FLAGS_NONE, kShowItemsTimeoutMs, nullptr, &gerror);
    g_object_unref(connection);
    if (!reply) {
        takeError(gerror, error, "The file manager did not answer");
        return false;
    }
    g_variant_unref(reply);
    return true;
}

bool requestPowerOff(std::string* error) {
    GDBusConnection* connection = busConnection(G_BUS_TYPE_SYSTEM, error);
    if (!connection) return false;
    GError* gerror = nullptr;
    // No timeout of our own: an interactive request may wait for the user.
    GVariant* reply = g_dbus_connection_call_sync(
        connection, "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        "PowerOff", g_variant_new("(b)", TRUE), nullptr, G_DBUS_CALL_FLAGS_ALLOW_INTERACTIVE_AUTHORIZATION,
        -1, nullptr, &gerror);
    g_object_unref(connection);
    if (!reply) {
        takeError(gerror, error, "The login manager refused to power off");
        return false;
    }
    g_variant_unref(reply);
    return true;
}

}  // namespace tarvolin
