// SurfaceProgress: what the long surface functions (WeldSurface, TraceContours, ComputeVolume)
// call now and then with the work done so far and the whole work (in one unit: faces,
// levels, triangles), so that a caller can show progress and keep its window responsive. An
// empty one is not called. It must not throw.
//
// kProgressStride: how many items the functions handle between two calls at most.
#pragma once

#include <cstddef>
#include <functional>

namespace geom {

using SurfaceProgress = std::function<void(std::size_t done, std::size_t total)>;

constexpr std::size_t kProgressStride = 65536;

}  // namespace geom
