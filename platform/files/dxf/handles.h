// The handles of a DXF file written from a snapshot.
//
// planDxfHandles(entities, layerCount, extraCounts): entities are the ones written, in file order;
// extraCounts[i] is how many handles entity i needs for its own sub-entities and objects. The
// fixed objects (tables, blocks, dictionaries, layouts) take the lowest handles from 1 that no
// entity has; entities without a handle, then the layers, then each entity's own handles follow
// above every entity's handle; handleSeed lies above all. The plan depends only on the entities'
// handles and counts, so reading a file back and writing it again gives the same handles.
// Throws DrawingFileError for an entity handle that is not hexadecimal or is used twice.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kafhost/drawing_snapshot.h"

namespace kafhost {

// The objects every written file has, in the order their handles are given.
enum class DxfFixed {
    kBlockRecordTable,
    kModelSpaceRecord,
    kPaperSpaceRecord,
    kViewportTable,
    kLinetypeTable,
    kLayerTable,
    kStyleTable,
    kViewTable,
    kUcsTable,
    kAppIdTable,
    kDimStyleTable,
    kActiveViewport,
    kLinetypeByBlock,
    kLinetypeByLayer,
    kLinetypeContinuous,
    kStyleStandard,
    kAppIdAcad,
    kDimStyleStandard,
    kModelSpaceBlock,
    kModelSpaceBlockEnd,
    kPaperSpaceBlock,
    kPaperSpaceBlockEnd,
    kRootDictionary,
    kGroupDictionary,
    kLayoutDictionary,
    kModelLayout,
    kPaperLayout,
    kCount
};

struct DxfHandlePlan {
    std::array<std::uint64_t, static_cast<std::size_t>(DxfFixed::kCount)> fixedHandles{};
    std::vector<std::uint64_t> layers;
    std::vector<std::uint64_t> entities;
    // First of each entity's own handles (its extra count of them follow one by one).
    std::vector<std::uint64_t> firstOwnHandles;
    std::uint64_t handleSeed = 0;

    std::uint64_t fixed(DxfFixed object) const {
        return fixedHandles[static_cast<std::size_t>(object)];
    }
};

DxfHandlePlan planDxfHandles(const std::vector<const EntityInfo*>& entities, std::size_t layerCount,
                             const std::vector<std::uint64_t>& extraCounts);

}  // namespace kafhost
