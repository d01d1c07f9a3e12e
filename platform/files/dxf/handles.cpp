#include "platform/files/dxf/handles.h"

#include <algorithm>
#include <unordered_set>

#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace kafhost {

DxfHandlePlan planDxfHandles(const std::vector<const EntityInfo*>& entities, std::size_t layerCount,
                             const std::vector<std::uint64_t>& extraCounts) {
    DxfHandlePlan plan;
    std::unordered_set<std::uint64_t> used;
    std::uint64_t highest = 0;
    for (const EntityInfo* entity : entities) {
        if (entity->handle.empty()) {
            continue;
        }
        const std::uint64_t handle = parseHandle(entity->handle);
        if (handle == 0) {
            throw DrawingFileError("entity handle \"" + wideToUtf8(entity->handle) +
                                   "\" is not hexadecimal");
        }
        if (!used.insert(handle).second) {
            throw DrawingFileError("entity handle " + wideToUtf8(entity->handle) +
                                   " is used twice");
        }
        highest = std::max(highest, handle);
    }

    std::uint64_t next = 1;
    for (std::uint64_t& handle : plan.fixedHandles) {
        while (used.count(next) != 0) {
            ++next;
        }
        handle = next++;
    }
    next = std::max(next, highest + 1);
    for (const EntityInfo* entity : entities) {
        plan.entities.push_back(entity->handle.empty() ? next++ : parseHandle(entity->handle));
    }
    for (std::size_t i = 0; i < layerCount; ++i) {
        plan.layers.push_back(next++);
    }
    for (const std::uint64_t count : extraCounts) {
        plan.firstOwnHandles.push_back(next);
        next += count;
    }
    plan.handleSeed = next;
    return plan;
}

}  // namespace kafhost
