// AcDbPolyFaceMesh::Storage: the compact form in which a polyface mesh keeps its vertices and face
// records once they are closed (one point or four numbers each), the handles of its sub-entities
// as runs of consecutive handles, and the sub-entity objects that are open right now.
//
// A sub-entity has its slot from the moment it is appended; the slot is filled when it is closed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "arxapi.h"

struct AcDbPolyFaceMesh::Storage {
    struct Run {
        std::uint64_t first;  // handle of the first sub-entity of the run
        std::uint32_t start;  // its index among the vertices or face records
        std::uint32_t count;
        bool faceRecords;
    };

    std::vector<AcGePoint3d> vertices;
    std::vector<std::array<Adesk::Int16, 4>> faces;
    std::vector<Run> runs;
    std::vector<AcDbObject*> openChildren;

    // Records that the sub-entity (vertex or face record number index) has the handle.
    void addHandle(bool faceRecord, std::uint32_t index, std::uint64_t handle);
    // The handle of sub-entity index (a vertex or a face record); 0 when it has none (the mesh is
    // not in a drawing).
    std::uint64_t handleOf(bool faceRecord, std::uint32_t index) const;
    // The sub-entity with the handle; false when the mesh has none.
    bool find(std::uint64_t handle, bool& faceRecord, std::uint32_t& index) const;
    // The open sub-entity object with the handle, or null.
    AcDbObject* openChild(std::uint64_t handle) const;
    void removeOpenChild(AcDbObject* child);
};
