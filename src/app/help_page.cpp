#include "app/help_page.h"

#include "collection/store_files.h"
#include "platform/open_rules.h"
#include "toolkit/durable_file.h"

namespace tarvolin {

bool provideHelpPage(const std::string& appFolder, const std::string& exeDir) {
    if (!findHelpPage(appFolder, exeDir).empty()) return true;
    if (appFolder.empty()) return false;
    const std::string page = storefiles::asFolder(appFolder) + kHelpPageName;
    if (!durable::writeWhole(page, carriedHelpPage())) return false;
    return !findHelpPage(appFolder, exeDir).empty();
}

}  // namespace tarvolin
