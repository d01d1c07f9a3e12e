// DxfOrigin: the DXF file a drawing was read from, kept so that saving the drawing keeps
// everything in the file that kafcad does not model.
//
// The file's text is kept whole. Saving copies it as it was, except at the cuts: the $HANDSEED
// value (the new seed), each entity the drawing holds (copied as it was when the drawing has it
// unchanged, written from the drawing when kafcad changed it, left out when erased), and the ends
// of the LAYER table, the CLASSES, ENTITIES and OBJECTS sections, where new layers, the MESH
// class, new entities and their colour records go.
//
// makeDxfOrigin(text, read, entities): the origin of a file just read; entities are the drawing's
//   entities as read (handles given). Refuses, before anything else is done, files it could not
//   write back faithfully.
// writeDxfWithOrigin(writer, drawing, origin): the file again, with the drawing's changes.
//   Throws DrawingFileError for a change the file cannot hold (a MESH in a file older than
//   AutoCAD 2010, say), before anything is written.
// dxfJsonLosses(origin): what a JSON drawing file could not keep (empty: nothing).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"
#include "platform/files/dxf/sections.h"

namespace kafhost {

struct DxfOrigin {
    std::string text;
    std::string release;
    bool utf8 = true;
    std::uint64_t highestHandle = 0;  // of every handle in the file, and below its seed
    std::uint64_t modelSpaceRecord = 0;
    std::uint64_t paperSpaceRecord = 0;
    std::uint64_t layerTable = 0;
    std::size_t seedBegin = kNowhere;
    std::size_t seedEnd = kNowhere;
    std::size_t headerEnd = kNowhere;
    std::size_t classesEnd = kNowhere;
    bool meshClass = false;
    std::size_t layersEnd = kNowhere;
    std::size_t tablesEnd = kNowhere;
    std::size_t bodyStart = kNowhere;
    std::size_t entitiesEnd = kNowhere;  // kNowhere: no ENTITIES section
    std::size_t objectsEnd = kNowhere;
    std::size_t end = kNowhere;
    std::unordered_set<std::wstring> layerKeys;
    std::unordered_set<std::wstring> linetypeKeys;
    // The layers as the file holds them, by their names' dxfNameKey: saving keeps them as they
    // are, and refuses a drawing that changed their colour, linetype or lineweight.
    std::unordered_map<std::wstring, LayerInfo> fileLayers;
    // The entities the drawing holds, in file order, as read.
    std::vector<DxfReadEntity> entities;
    std::unordered_map<std::uint64_t, std::size_t> entityIndex;  // by handle
    // Extension dictionaries holding only a mesh's colour record: the dictionary's and the
    // record's places in the text, by the mesh's handle.
    std::unordered_map<std::uint64_t, std::vector<std::pair<std::size_t, std::size_t>>>
        colourObjects;
    std::string jsonLosses;
};

DxfOrigin makeDxfOrigin(std::string text, const DxfDrawingRead& read,
                        const std::vector<DxfReadEntity>& entities);
void writeDxfWithOrigin(DxfWriter& writer, const DrawingSnapshot& drawing, const DxfOrigin& origin);

}  // namespace kafhost
