// What every DXF entity carries before its own data: handle (5), extension dictionary
// (102 {ACAD_XDICTIONARY, 360), owner (330), paper-space flag (67) and layer (8).
//
// writeDxfEntityHead(writer, kind, head): "0 kind" and the head's tags, up to and including
//   "100 AcDbEntity" and the layer; the entity's own subclass marker follows.
// readDxfEntityHeadTag(reader, head): takes the current tag into head when it is one of the
//   head's (a whole 102 group for a group), moving past it; false, not moving, otherwise.
// skipDxfEntity(reader): skips the entity on its "0 KIND" tag together with the VERTEX, ATTRIB and
//   SEQEND entities that belong to it.
//
// Each entity kind has its own header (3dface.h, polyline.h, lwpolyline.h, mesh.h, point.h,
// line.h, text_entity.h) with its
// writer and reader. Writers take the entity's head (handle, owner, space, layer) and write the
// whole entity, sub-entities included; an entity that needs handles of its own (polyface
// sub-entities, the colour records of a mesh) says how many (…OwnHandles) and gets the first of
// them. Readers start on the entity's "0 KIND" tag and stop on the next entity's code 0; they fail
// with the line for data the drawing cannot hold (a face naming a missing vertex, say).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/tag_reader.h"
#include "platform/files/dxf/writer.h"

namespace kafhost {

struct DxfEntityHead {
    std::uint64_t handle = 0;  // 0: none
    std::uint64_t owner = 0;
    bool paperSpace = false;
    std::string layer = "0";                // UTF-8
    std::uint64_t extensionDictionary = 0;  // 0: none
    std::size_t line = 0;                   // where the entity starts (reading)
    // The colour (62, 256: by layer) and true colour (420, -1: none), written after the layer.
    int colorIndex = 256;
    std::int32_t trueColor = -1;
    // Other common properties (linetype, lineweight, ...) as DXF tags, written after the colour.
    std::string commonTags;
    // Reading: the entity has extended data, application groups besides its extension
    // dictionary, or details the drawing does not model (mesh edges and creases, properties of
    // polyface vertices of their own), which kafcad keeps only by copying the entity as it was.
    bool foreignData = false;
};

// An entity as read: its head, what the drawing keeps of it and where it lies in the text.
struct DxfReadEntity {
    DxfEntityHead head;
    EntityInfo info;
    // TEXT: its string and style name as the file holds them, decoded once the file's encoding
    // is known.
    std::string textValue;
    std::string textStyleValue;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Writes any of the drawing's entity kinds (the first of its own handles given).
void writeDxfEntity(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& entity,
                    std::uint64_t firstOwnHandle);
// How many handles of its own the entity needs (polyface sub-entities, mesh colour records).
std::uint64_t dxfOwnHandleCount(const EntityInfo& entity);
// Group codes of the common entity properties: those R13 and later added, and all of them.
bool isDxfNewerPropertyCode(int code);
bool isDxfCommonPropertyCode(int code);
void writeDxfEntityHead(DxfWriter& writer, std::string_view kind, const DxfEntityHead& head);
bool readDxfEntityHeadTag(DxfTagReader& reader, DxfEntityHead& head);
void skipDxfEntity(DxfTagReader& reader);

}  // namespace kafhost
