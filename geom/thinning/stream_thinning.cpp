#include "geom/thinning/stream_thinning.h"

#include <algorithm>
#include <cmath>

#include "geom/dct/dct.h"
#include "geom/kernel/geometry_error.h"
#include "geom/thinning/thin_first_pass.h"

namespace geom {

namespace {

bool Finite(double x, double y, double z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

// The Delaunay triangulation of the hull's corners as the starting surface.
void SeedWithHull(const std::vector<ThinRecord>& hull, ThinningTin& tin) {
    CDCT dct;
    for (const ThinRecord& corner : hull) {
        dct.AddPoint(corner.p.x, corner.p.y, corner.p.z);
    }
    const std::vector<CTriangle> triangles = dct.Triangulate();
    const std::vector<CVertex> sorted = dct.GetVertices();
    // CDCT sorts its vertices by x, then y: the corners in that order give their records.
    std::vector<ThinRecord> corners = hull;
    std::sort(corners.begin(), corners.end(), [](const ThinRecord& a, const ThinRecord& b) {
        return a.p.x < b.p.x || (a.p.x == b.p.x && a.p.y < b.p.y);
    });
    std::vector<ThinPoint> vertices;
    std::vector<std::uint32_t> ids;
    for (const CVertex& v : sorted) {
        const auto at = std::lower_bound(corners.begin(), corners.end(), v,
                                         [](const ThinRecord& a, const CVertex& b) {
                                             return a.p.x < b.x || (a.p.x == b.x && a.p.y < b.y);
                                         });
        vertices.push_back(at->p);
        ids.push_back(at->id);
    }
    std::vector<std::array<std::uint32_t, 3>> corners3;
    for (const CTriangle& t : triangles) {
        corners3.push_back({static_cast<std::uint32_t>(t.i1), static_cast<std::uint32_t>(t.i2),
                            static_cast<std::uint32_t>(t.i3)});
    }
    tin.Seed(vertices, ids, corners3, {}, std::vector<char>(corners3.size(), 0));
}

}  // namespace

ThinStreamResult ThinStream(const ThinPointPass& read, const ThinOptions& options) {
    if (!std::isfinite(options.tolerance) || !(options.tolerance >= 0.0)) {
        throw GeometryError(GeometryFailure::kThinningBadInput);
    }
    ThinStreamResult result;
    const std::size_t budget = std::max<std::size_t>(options.budget, 16);
    ThinFirstPass first(budget / 4, budget);
    bool finite = true;
    result.passes = 1;
    if (!read([&](double x, double y, double z) {
            finite = finite && Finite(x, y, z);
            first.Add(ThinPoint{x, y, z});
        })) {
        result.status = ThinStreamResult::Status::ReadFailed;
        return result;
    }
    result.read = first.Count();
    if (!finite || result.read >= ThinningTin::kNone) {
        throw GeometryError(GeometryFailure::kThinningBadInput);
    }
    const std::vector<ThinRecord> hull = first.Finish();
    if (hull.size() < 3) {
        throw GeometryError(GeometryFailure::kThinningNoArea);
    }
    ThinningTin tin(options.tolerance);
    SeedWithHull(hull, tin);
    std::uint64_t conflicts = 0;
    using Mode = ThinningTin::OfferMode;
    // Offers the records in the order of the curve, so that the candidates of a triangle lie
    // close together in memory.
    const auto offerSorted = [&](std::vector<ThinRecord>& records, Mode mode) {
        std::vector<std::pair<std::uint64_t, std::uint32_t>> order(records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            order[i] = {tin.SpatialKey(records[i].p), static_cast<std::uint32_t>(i)};
        }
        std::sort(order.begin(), order.end());
        for (const auto& entry : order) {
            const ThinRecord& record = records[entry.second];
            if (tin.Offer(record.p, record.id, mode) == ThinningTin::Offered::Conflict) {
                ++conflicts;
            }
        }
        records.clear();
    };
    if (first.KeptAll()) {
        std::vector<ThinPoint>& all = first.All();
        std::vector<ThinRecord> records(all.size());
        for (std::size_t i = 0; i < all.size(); ++i) {
            records[i] = {all[i], static_cast<std::uint32_t>(i)};
        }
        std::vector<ThinPoint>().swap(all);
        offerSorted(records, Mode::AttachAll);
        tin.Refine(options.tick);
        result.conflicts = conflicts + tin.Blocked();
    } else {
        std::vector<ThinRecord> sample = first.Sample();
        offerSorted(sample, Mode::AttachAll);
        tin.Refine(options.tick);
        std::vector<ThinRecord> beyond;
        for (bool again = true; again;) {
            ++result.passes;
            conflicts = 0;
            const std::uint64_t inserted = tin.Inserted();
            const std::uint64_t blocked = tin.Blocked();
            std::uint64_t count = 0;
            // Points within the tolerance of the surface as it is are dropped at once; those
            // beyond it wait, and are offered again in the order of the curve.
            const bool ok = read([&](double x, double y, double z) {
                const ThinPoint p{x, y, z};
                const auto offered = tin.Offer(p, static_cast<std::uint32_t>(count), Mode::Measure);
                if (offered == ThinningTin::Offered::Conflict) {
                    ++conflicts;
                } else if (offered == ThinningTin::Offered::Queued) {
                    beyond.push_back({p, static_cast<std::uint32_t>(count)});
                    if (beyond.size() >= budget) {
                        offerSorted(beyond, Mode::QueueBeyond);
                        tin.Refine(options.tick);
                    }
                }
                ++count;
            });
            if (!ok) {
                result.status = ThinStreamResult::Status::ReadFailed;
                return result;
            }
            if (count != result.read) {
                result.status = ThinStreamResult::Status::Changed;
                return result;
            }
            offerSorted(beyond, Mode::QueueBeyond);
            tin.Refine(options.tick);
            again = tin.Inserted() != inserted;
            result.conflicts = conflicts + (tin.Blocked() - blocked);
        }
    }
    result.surface = tin.Result();
    for (const std::uint32_t id : result.surface.ids) {
        result.kept += id != ThinningTin::kLineVertex ? 1 : 0;
    }
    return result;
}

}  // namespace geom
