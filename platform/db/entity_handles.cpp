// The handles of a drawing's entities in drawing order, without describing them: what walking
// the drawing entity by entity (AutoLISP's entnext) needs, at the cost of a list of handles.
#include "platform/db/object_state.h"
#include "platform/host/impl.h"

namespace kafhost {

std::vector<std::wstring> Host::entityHandles() const {
    std::vector<std::wstring> handles;
    const Database* database = liveDatabase(workingDatabase());
    if (database == nullptr) {
        return handles;
    }
    for (const auto& block : database->blocks()) {
        for (const AcDbEntity* entity : block.entities) {
            if (entity != nullptr && !stateOf(*entity).erased) {
                handles.push_back(handleText(stateOf(*entity).handle));
            }
        }
    }
    return handles;
}

}  // namespace kafhost
