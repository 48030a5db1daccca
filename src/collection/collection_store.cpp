#include "collection/collection_store.h"

#include "app/program.h"
#include "toolkit/runtime.h"

namespace tarvolin {

CollectionStore::CollectionStore(Program& app) : app_(app) {
    d.clearTrackTables(0);
}

std::string CollectionStore::timeOfDay() const {
    return TimeText(app_.loop().now());
}

void CollectionStore::logLine(const std::string& message) {
    app_.Form1.Text2[0].prepend(LogLineText(app_.loop().now(), message));
}

}  // namespace tarvolin
