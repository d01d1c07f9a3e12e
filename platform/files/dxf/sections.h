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
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"
#include "platform/files/dxf/mesh_colours.h"
#include "platform/files/dxf/plan.h"

namespace kafhost {

struct DxfLayerRead {
    LayerInfo layer;
    std::size_t line = 0;
    // Properties beyond what the drawing models: locked, not plotted, or a colour outside
    // 1 ... 255.
    bool styled = false;
};

constexpr std::size_t kNowhere = std::string::npos;

// Entity kinds skipped while reading, with their counts.
using DxfSkipCounts = std::map<std::string, std::size_t>;

struct DxfDrawingRead {
    bool utf8 = true;  // text is UTF-8 (AutoCAD 2007 and later)
    std::uint64_t handleSeed = 0;
    std::uint64_t highestHandle = 0;  // of every handle in the file
    std::vector<DxfLayerRead> layers;
    std::unordered_set<std::wstring> layerKeys;     // their names' dxfNameKey
    std::unordered_set<std::wstring> linetypeKeys;  // the LTYPE table's names' dxfNameKey
    std::uint64_t modelSpaceRecord = 0;
    std::uint64_t paperSpaceRecord = 0;
    std::vector<DxfReadEntity> entities;
    DxfDictionaries dictionaries;
    DxfColourRecords colourRecords;
    DxfSkipCounts skippedEntities;
    DxfSkipCounts skippedInBlocks;
    std::size_t skippedPolylines = 0;  // POLYLINE entities that are not polyface meshes

    // Where things lie in the text, for writing the file again around the drawing's entities.
    std::string release;               // $ACADVER
    std::size_t seedBegin = kNowhere;  // the $HANDSEED value tag
    std::size_t seedEnd = kNowhere;
    std::size_t headerEnd = kNowhere;  // its "0 ENDSEC"
    bool headerUnits = false;          // $INSUNITS other than 0
    std::size_t classesEnd = kNowhere;
    bool meshClass = false;  // CLASSES names MESH
    std::uint64_t layerTable = 0;
    std::size_t layersEnd = kNowhere;  // the LAYER table's "0 ENDTAB"
    std::size_t tablesEnd = kNowhere;  // the TABLES section's "0 ENDSEC"
    std::size_t bodyStart = kNowhere;  // the first BLOCKS, ENTITIES or OBJECTS section
    bool entitiesSection = false;
    std::size_t entitiesEnd = kNowhere;
    std::size_t objectsEnd = kNowhere;
    std::size_t end = kNowhere;  // "0 EOF"
    std::size_t blockCount = 0;  // blocks other than *Model_Space and *Paper_Space
    // DICTIONARY and XRECORD objects by handle: where each begins and ends.
    std::unordered_map<std::uint64_t, std::pair<std::size_t, std::size_t>> objectRanges;
};

// A layer's colour (62, negative when hidden), true colour (420), linetype (6) and lineweight
// (370), as its LAYER record holds them.
void writeDxfLayerStyle(DxfWriter& writer, const LayerInfo& layer);

void writeDxfHeader(DxfWriter& writer, const DxfDrawingPlan& plan);
void writeDxfClasses(DxfWriter& writer, const DxfDrawingPlan& plan);
// One CLASS of the CLASSES section: its DXF name, C++ class name, whether it is an entity, and
// the number of its instances (0 where not counted).
void writeDxfClass(DxfWriter& writer, const char* name, const char* className, bool isEntity,
                   std::size_t instances);
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
