#include "media/media_files.h"

#include "app/program.h"

namespace tarvolin {

void MediaFiles::wireEvents() {
    wireAttributeMenus();
    wireRatingMenus();
}

}  // namespace tarvolin
