// MeshCountEstimate(vertexCount, maxPoints): the number of meshes a split writer announces, the
// vertex count divided by maxPoints - 2, rounded up, in unsigned arithmetic (maxPoints >= 3). It is
// a lower estimate when meshes repeat their border vertices.
#pragma once

#include <cstddef>
#include <cstdint>

inline std::uint32_t MeshCountEstimate(std::size_t vertexCount, std::int32_t maxPoints) {
    const std::uint32_t count = static_cast<std::uint32_t>(vertexCount);
    const std::uint32_t limit = static_cast<std::uint32_t>(maxPoints - 2);
    return count / limit + (count % limit != 0 ? 1 : 0);
}
