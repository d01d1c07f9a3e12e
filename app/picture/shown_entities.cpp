#include "app/picture/shown_entities.h"

#include <set>
#include <string>

namespace kafcad {

std::vector<const kafhost::EntityInfo*> ShownEntities(const kafhost::DrawingSnapshot& drawing) {
    std::set<std::wstring> hidden;
    for (const kafhost::LayerInfo& layer : drawing.layers) {
        if (layer.hidden) {
            hidden.insert(layer.name);
        }
    }
    std::vector<const kafhost::EntityInfo*> shown;
    for (const kafhost::EntityInfo& entity : drawing.entities) {
        if (entity.space == L"model" && !entity.erased && hidden.count(entity.layer) == 0) {
            shown.push_back(&entity);
        }
    }
    return shown;
}

}  // namespace kafcad
