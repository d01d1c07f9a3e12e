// What a DXF file written from a snapshot holds, decided before anything is written (the header
// needs the handle seed and the extents).
//
// planDxfDrawing(drawing): the layers with "0" first, the entities that are not erased (model
// space first) with their heads and handles, and the model-space extents.
// dxfLayersZeroFirst(layers): layer "0" first (added when missing), then the others in their
// order.
#pragma once

#include <string>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"
#include "platform/files/dxf/handles.h"
#include "platform/files/dxf/linetypes.h"

namespace kafhost {

struct DxfDrawingPlan {
    std::vector<LayerInfo> layers;        // "0" first
    std::vector<std::string> layerNames;  // their UTF-8 names
    // The linetypes the layers use besides Continuous, each once, and their handles.
    std::vector<const DxfLinetype*> linetypes;
    std::vector<std::uint64_t> linetypeHandles;
    std::vector<const EntityInfo*> entities;
    std::vector<DxfEntityHead> heads;  // one per entity
    DxfHandlePlan handles;
    bool hasExtents = false;
    Point3 extentsMin{};
    Point3 extentsMax{};
};

DxfDrawingPlan planDxfDrawing(const DrawingSnapshot& drawing);
std::vector<LayerInfo> dxfLayersZeroFirst(const std::vector<LayerInfo>& layers);

}  // namespace kafhost
