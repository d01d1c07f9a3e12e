// The sections of a DXF drawing file, one file each.
//
// Writing: each WriteDxf<Section> writes its whole section from the plan of the file (plan.h).
//
// Reading: each ReadDxf<Section> starts on the tag after the section's name and stops on its
// "0 ENDSEC", adding what it finds to a DxfDrawingRead.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"
#include "platform/files/dxf/mesh_colors.h"
#include "platform/files/dxf/plan.h"

namespace kafhost {

struct DxfLayerRead {
    LayerInfo layer;
    std::size_t line = 0;
};

// Entity kinds skipped while reading, with their counts.
using DxfSkipCounts = std::map<std::string, std::size_t>;

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

void writeDxfHeader(DxfWriter& writer, const DxfDrawingPlan& plan);
void writeDxfClasses(DxfWriter& writer, const DxfDrawingPlan& plan);
void writeDxfTables(DxfWriter& writer, const DxfDrawingPlan& plan);
void writeDxfBlocks(DxfWriter& writer, const DxfDrawingPlan& plan);
void writeDxfEntities(DxfWriter& writer, const DxfDrawingPlan& plan);
void writeDxfObjects(DxfWriter& writer, const DxfDrawingPlan& plan);

void readDxfHeader(DxfTagReader& reader, DxfDrawingRead& drawing);
void readDxfTables(DxfTagReader& reader, DxfDrawingRead& drawing);
void readDxfBlocks(DxfTagReader& reader, DxfDrawingRead& drawing);
void readDxfEntities(DxfTagReader& reader, DxfDrawingRead& drawing);
void readDxfObjects(DxfTagReader& reader, DxfDrawingRead& drawing);

}  // namespace kafhost
