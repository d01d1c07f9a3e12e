#include "geom/surface/spot_elevations.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "geom/kernel/predicates.h"
#include "geom/surface/triangle_grid.h"

namespace geom {
namespace {

constexpr double kElevationTolerance = 1e-9;

// The positions in a uniform grid of about one position per cell.
class PositionGrid {
public:
    explicit PositionGrid(const std::vector<PlanPoint>& positions) {
        minX_ = minY_ = std::numeric_limits<double>::infinity();
        maxX_ = maxY_ = -std::numeric_limits<double>::infinity();
        for (const PlanPoint& p : positions) {
            minX_ = std::min(minX_, p.x);
            minY_ = std::min(minY_, p.y);
            maxX_ = std::max(maxX_, p.x);
            maxY_ = std::max(maxY_, p.y);
        }
        const double side = std::ceil(std::sqrt(static_cast<double>(positions.size())));
        columns_ = rows_ = static_cast<std::size_t>(side);
        scaleX_ = maxX_ > minX_ ? static_cast<double>(columns_) / (maxX_ - minX_) : 0.0;
        scaleY_ = maxY_ > minY_ ? static_cast<double>(rows_) / (maxY_ - minY_) : 0.0;
        start_.assign(columns_ * rows_ + 1, 0);
        for (const PlanPoint& p : positions) {
            ++start_[Cell(p.x, p.y) + 1];
        }
        for (std::size_t i = 1; i < start_.size(); ++i) {
            start_[i] += start_[i - 1];
        }
        entries_.resize(positions.size());
        std::vector<std::size_t> fill(start_.begin(), start_.end() - 1);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            entries_[fill[Cell(positions[i].x, positions[i].y)]++] = i;
        }
    }

    // Calls visit(position index) for the positions in the cells the box meets.
    template <typename Visit>
    void ForEachIn(double x0, double y0, double x1, double y1, Visit visit) const {
        if (x1 < minX_ || y1 < minY_ || x0 > maxX_ || y0 > maxY_) {
            return;
        }
        const std::size_t c1 = GridCell((x1 - minX_) * scaleX_, columns_);
        const std::size_t r0 = GridCell((y0 - minY_) * scaleY_, rows_);
        const std::size_t r1 = GridCell((y1 - minY_) * scaleY_, rows_);
        for (std::size_t c = GridCell((x0 - minX_) * scaleX_, columns_); c <= c1; ++c) {
            for (std::size_t r = r0; r <= r1; ++r) {
                const std::size_t cell = c * rows_ + r;
                for (std::size_t i = start_[cell]; i < start_[cell + 1]; ++i) {
                    visit(entries_[i]);
                }
            }
        }
    }

private:
    std::size_t Cell(double x, double y) const {
        return GridCell((x - minX_) * scaleX_, columns_) * rows_ +
               GridCell((y - minY_) * scaleY_, rows_);
    }

    double minX_, minY_, maxX_, maxY_;
    double scaleX_, scaleY_;
    std::size_t columns_, rows_;
    std::vector<std::size_t> start_;
    std::vector<std::size_t> entries_;
};

bool IsFinite(const CVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The elevation of the plane through a, b, c (counter-clockwise in plan) at p, when p lies in
// the triangle or on its border.
bool ElevationIn(const CVertex& a, const CVertex& b, const CVertex& c, const PlanPoint& p,
                 double& z) {
    if (p.x < std::min({a.x, b.x, c.x}) || p.x > std::max({a.x, b.x, c.x}) ||
        p.y < std::min({a.y, b.y, c.y}) || p.y > std::max({a.y, b.y, c.y})) {
        return false;
    }
    if (Orient(PlanOf(a), PlanOf(b), p) < 0 || Orient(PlanOf(b), PlanOf(c), p) < 0 ||
        Orient(PlanOf(c), PlanOf(a), p) < 0) {
        return false;
    }
    // Barycentric weights, from the areas of the sub-triangles opposite each corner.
    const double area = PlanCross(PlanOf(a), PlanOf(b), PlanOf(c));
    const double wa = PlanCross(p, PlanOf(b), PlanOf(c)) / area;
    const double wb = PlanCross(p, PlanOf(c), PlanOf(a)) / area;
    z = wa * a.z + wb * b.z + (1.0 - wa - wb) * c.z;
    return true;
}

SurfaceStatus Fail(SurfaceStatus status, std::size_t mesh, std::size_t index,
                   std::vector<double>& elevations, MeshPosition& where) {
    elevations.clear();
    where = MeshPosition{mesh, index};
    return status;
}

}  // namespace

SurfaceStatus SpotElevations(const std::vector<SurfaceMesh>& meshes,
                             const std::vector<PlanPoint>& positions,
                             std::vector<double>& elevations, MeshPosition& where) {
    elevations.assign(positions.size(), std::numeric_limits<double>::quiet_NaN());
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        for (std::size_t v = 0; v < meshes[m].vertices.size(); ++v) {
            if (!IsFinite(meshes[m].vertices[v])) {
                return Fail(SurfaceStatus::NonFiniteCoordinate, m, v, elevations, where);
            }
        }
    }
    if (positions.empty()) {
        return SurfaceStatus::Ok;
    }
    const PositionGrid grid(positions);
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const std::vector<CVertex>& vertices = meshes[m].vertices;
        const auto count = static_cast<std::int64_t>(vertices.size());
        for (std::size_t f = 0; f < meshes[m].faces.size(); ++f) {
            const MeshFace& face = meshes[m].faces[f];
            for (const std::int32_t i : {face.i1, face.i2, face.i3}) {
                if (i < 0 || i >= count) {
                    return Fail(SurfaceStatus::FaceIndexOutOfRange, m, f, elevations, where);
                }
            }
            const CVertex* a = &vertices[static_cast<std::size_t>(face.i1)];
            const CVertex* b = &vertices[static_cast<std::size_t>(face.i2)];
            const CVertex* c = &vertices[static_cast<std::size_t>(face.i3)];
            // A face without area in plan holds no position, nor does one so thin that its
            // barycentric weights cannot be computed; the others are taken counter-clockwise.
            const int orientation = Orient(PlanOf(*a), PlanOf(*b), PlanOf(*c));
            if (orientation == 0 || PlanCross(PlanOf(*a), PlanOf(*b), PlanOf(*c)) == 0.0) {
                continue;
            }
            if (orientation < 0) {
                std::swap(b, c);
            }
            bool conflict = false;
            std::size_t conflictAt = 0;
            grid.ForEachIn(std::min({a->x, b->x, c->x}), std::min({a->y, b->y, c->y}),
                           std::max({a->x, b->x, c->x}), std::max({a->y, b->y, c->y}),
                           [&](std::size_t p) {
                               double z = 0.0;
                               if (!ElevationIn(*a, *b, *c, positions[p], z)) {
                                   return;
                               }
                               double& known = elevations[p];
                               if (std::isnan(known)) {
                                   known = z;
                               } else if (std::fabs(known - z) >
                                          kElevationTolerance *
                                              std::max({1.0, std::fabs(known), std::fabs(z)})) {
                                   conflict = true;
                                   conflictAt = p;
                               }
                           });
            if (conflict) {
                return Fail(SurfaceStatus::ConflictingElevation, m, conflictAt, elevations, where);
            }
        }
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
