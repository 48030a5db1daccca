#include "app/help_page.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "collection/store_files.h"
#include "platform/open_rules.h"

namespace tarvolin {

bool provideHelpPage(const std::string& appFolder, const std::string& exeDir) {
    if (!findHelpPage(appFolder, exeDir).empty()) return true;
    if (appFolder.empty()) return false;
    const std::string page = storefiles::asFolder(appFolder) + kHelpPageName;
    const std::string part = page + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        const std::string_view text = carriedHelpPage();
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(part, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, page, ec);
    if (ec) std::filesystem::remove(part, ec);
    return !findHelpPage(appFolder, exeDir).empty();
}

}  // namespace tarvolin
