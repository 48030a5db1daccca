#include "platform/desktop/trash.h"

#include <gio/gio.h>

namespace tarvolin {

bool trashFile(const std::string& path, std::string* error) {
    if (path.empty()) {
        if (error) *error = "No file given";
        return false;
    }
    GFile* file = g_file_new_for_path(path.c_str());
    GError* gerror = nullptr;
    const gboolean ok = g_file_trash(file, nullptr, &gerror);
    g_object_unref(file);
    if (!ok) {
        if (error) *error = (gerror && gerror->message) ? gerror->message : "Cannot move the file to the trash";
        if (gerror) g_error_free(gerror);
        return false;
    }
    if (error) error->clear();
    return true;
}

}  // namespace tarvolin
