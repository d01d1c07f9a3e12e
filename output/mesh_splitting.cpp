#include "output/mesh_splitting.h"

#include <algorithm>

MeshVertexNumbering::MeshVertexNumbering(std::size_t vertexCount) : entries_(vertexCount) {}

void MeshVertexNumbering::BeginMesh() {
    ++generation_;
    if (generation_ == 0) {
        // The generation counter wrapped: old stamps could match again, so clear them.
        std::fill(entries_.begin(), entries_.end(), Entry());
        generation_ = 1;
    }
    count_ = 0;
}
