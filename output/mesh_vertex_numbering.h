// MeshVertexNumbering(vertexCount): the numbers that the vertices of a triangulation get inside
// the mesh being filled, for vertex lists of vertexCount vertices. BeginMesh() starts a new mesh
// with no vertex numbered. Number(globalIndex, isNew) gives the global vertex's number within the
// current mesh (from 0); a vertex not used before in this mesh gets the next number and isNew is
// set. Count() is the number of vertices the current mesh holds.
//
// Lookups take constant time: every global index keeps its number with the mesh generation that
// gave it, so starting a mesh forgets all numbers at once without clearing anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MeshVertexNumbering {
public:
    explicit MeshVertexNumbering(std::size_t vertexCount);

    void BeginMesh();

    std::int32_t Number(std::int32_t globalIndex, bool& isNew) {
        Entry& entry = entries_[static_cast<std::size_t>(globalIndex)];
        isNew = entry.generation != generation_;
        if (isNew) {
            entry.generation = generation_;
            entry.number = count_++;
        }
        return entry.number;
    }

    std::int32_t Count() const { return count_; }

private:
    struct Entry {
        std::uint32_t generation = 0;
        std::int32_t number = 0;
    };
    std::vector<Entry> entries_;
    std::uint32_t generation_ = 0;
    std::int32_t count_ = 0;
};
