// The sections of a DXF drawing file.
//
// Writing: PlanDxfDrawing(drawing) decides what goes into the file (layers with "0" first, the
// entities that are not erased, model space first, with their heads and handles, the model-space
// extents); each WriteDxf<Section> writes its whole section from that plan.
//
// Reading: each ReadDxf<Section> starts on the tag after the section's name and stops on its
// "0 ENDSEC", adding what it finds to a DxfDrawingRead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/3dface.h"
#include "platform/files/dxf/handles.h"
#include "platform/files/dxf/mesh_colors.h"

namespace kafhost {

struct DxfDrawingPlan {
    std::vector<LayerInfo> layers;        // "0" first
    std::vector<std::string> layerNames;  // their UTF-8 names
    std::vector<const EntityInfo*> entities;
    std::vector<DxfEntityHead> heads;  // one per entity
    DxfHandlePlan handles;
    bool hasExtents = false;
    Point3 extentsMin{};
    Point3 extentsMax{};
};

struct DxfLayerRead {
    LayerInfo layer;
    std::size_t line = 0;
};

struct DxfDrawingRead {
    bool utf8 = true;  // text is UTF-8 (AutoCAD 2007 and later)
    std::uint64_t handleSeed = 0;
    std::vector<DxfLayerRead> layers;
    std::uint64_t modelSpaceRecord = 0;
    std::uint64_t paperSpaceRecord = 0;
    std::vector<DxfReadEntity> entities;
    DxfDictionaries dictionaries;
    DxfColorRecords colorRecords;
    DxfSkipCounts skippedEntities;
    DxfSkipCounts skippedInBlocks;
    std::size_t skippedPolylines = 0;  // POLYLINE entities that are not polyface meshes
};

DxfDrawingPlan PlanDxfDrawing(const DrawingSnapshot& drawing);
// Layer "0" first (added when missing), then the others in their order.
std::vector<LayerInfo> DxfLayersZeroFirst(const std::vector<LayerInfo>& layers);

void WriteDxfHeader(DxfWriter& writer, const DxfDrawingPlan& plan);
void WriteDxfClasses(DxfWriter& writer, const DxfDrawingPlan& plan);
void WriteDxfTables(DxfWriter& writer, const DxfDrawingPlan& plan);
void WriteDxfBlocks(DxfWriter& writer, const DxfDrawingPlan& plan);
void WriteDxfEntities(DxfWriter& writer, const DxfDrawingPlan& plan);
void WriteDxfObjects(DxfWriter& writer, const DxfDrawingPlan& plan);

void ReadDxfHeader(DxfTagReader& reader, DxfDrawingRead& drawing);
void ReadDxfTables(DxfTagReader& reader, DxfDrawingRead& drawing);
void ReadDxfBlocks(DxfTagReader& reader, DxfDrawingRead& drawing);
void ReadDxfEntities(DxfTagReader& reader, DxfDrawingRead& drawing);
void ReadDxfObjects(DxfTagReader& reader, DxfDrawingRead& drawing);

}  // namespace kafhost
