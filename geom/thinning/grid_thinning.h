// Thinning the nodes of a regular grid (GridLattice) to a vertical tolerance by greedy insertion,
// as Garland and Heckbert do for height fields: the surface starts as the grid's two corner
// triangles; each triangle scans the nodes it covers (closed, its corners left out) for the one
// farthest above or below its plane (ThinPlane, as the general path decides it; GridScan, which
// leaves unread the tiles of the grid that cannot hold it), and the farthest
// of all is inserted, the triangulation kept Delaunay by flips, the triangles made or changed
// scanned again, until no triangle has a node beyond the tolerance (decided exactly where the
// rounding allowance leaves it open: GridBeyond). Of a quad whose corners lie on one circle the
// diagonal that fits the ground better is taken (GridCrossingFitsBetter); either is Delaunay. No
// candidate is held or moved: the grid itself says which nodes a triangle covers (decided exactly
// in integers since the lattice is affine). At the end, vertices inserted for a distance within a
// quarter beyond the tolerance are taken out again where the surface without them still holds
// every node within it.
//
// ThinGridLattice(grid, tolerance, tick): tolerance finite, 0 or more; tick() is called every few
// thousand insertions (may be empty). Gives the surface: vertices (the nodes kept), their ids (the
// points' numbers, grid.ids) and counter-clockwise triangles covering the grid. Every node not kept
// lies in a triangle whose exact plane is within the tolerance of it.
#pragma once

#include <functional>

#include "geom/thinning/grid_lattice.h"
#include "geom/thinning/thinning_tin.h"

namespace geom {

ThinSurface ThinGridLattice(const GridLattice& grid, double tolerance,
                            const std::function<void()>& tick);

}  // namespace geom
