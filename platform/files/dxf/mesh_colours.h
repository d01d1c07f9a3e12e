// Vertex colours of MESH entities, kept in the OBJECTS section (see mesh_colours.cpp).
//
// writeDxfMeshColours(writer, meshHandle, mesh, firstOwnHandle): the mesh's extension dictionary
//   and colour record (handles firstOwnHandle and the next); nothing for a mesh without colours.
// readDxfColourRecord(reader): an XRECORD read from its "0 XRECORD" tag to the next code 0: its
//   handle, its first 90 (the count) and its 420 colours.
// applyDxfMeshColours(entities, dictionaries, records): gives each mesh whose extension dictionary
//   names a colour record those colours; fails with the record's line when their count is not the
//   mesh's vertex count.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

// The name under which a mesh's vertex colours are kept in its extension dictionary.
constexpr const char* kColourRecordName = "KAF_VERTEX_COLORS";

struct DxfColourRecord {
    std::uint64_t handle = 0;
    std::size_t line = 0;
    long long count = -1;  // -1: no 90
    std::vector<Rgb> colours;
};

// Dictionaries by handle: their entries (name, handle) in file order.
using DxfDictionaries =
    std::unordered_map<std::uint64_t, std::vector<std::pair<std::string, std::uint64_t>>>;
using DxfColourRecords = std::unordered_map<std::uint64_t, DxfColourRecord>;

void writeDxfMeshColours(DxfWriter& writer, std::uint64_t meshHandle, const EntityInfo& mesh,
                         std::uint64_t firstOwnHandle);
DxfColourRecord readDxfColourRecord(DxfTagReader& reader);
void applyDxfMeshColours(std::vector<DxfReadEntity>& entities, const DxfDictionaries& dictionaries,
                         const DxfColourRecords& records);

}  // namespace kafhost
