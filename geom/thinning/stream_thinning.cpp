#include "geom/thinning/stream_thinning.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "geom/kernel/geometry_error.h"
#include "geom/thinning/grid_thinning.h"
#include "geom/thinning/thin_first_pass.h"

namespace geom {

namespace {

// Visits count records (record(i), a ThinRecord) in the order of their places on the curve
// (ThinningTin::SpatialKey), so that the walks to them are short. The records are gathered into a
// small buffer first, a block at a time: the scattered reads then overlap instead of each
// stalling the walk.
template <typename RecordAt, typename Visit>
void InCurveOrder(const ThinningTin& tin, std::size_t count, const RecordAt& record,
                  const Visit& visit) {
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed(count);
    for (std::size_t i = 0; i < count; ++i) {
        keyed[i] = {tin.SpatialKey(record(i).p), static_cast<std::uint32_t>(i)};
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = keyed[i].second;
    }
    std::vector<std::pair<std::uint64_t, std::uint32_t>>().swap(keyed);
    constexpr std::size_t kBlock = 4096;
    std::vector<ThinRecord> buffer(std::min(count, kBlock));
    for (std::size_t start = 0; start < count; start += kBlock) {
        const std::size_t end = std::min(count, start + kBlock);
        for (std::size_t i = start; i < end; ++i) {
            buffer[i - start] = record(order[i]);
        }
        for (std::size_t i = start; i < end; ++i) {
            visit(buffer[i - start]);
        }
    }
}

bool Finite(double x, double y, double z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

// The lines with the elevations of a rough surface (the hull's corners and the sample, thinned)
// at the vertices of flat boundaries and holes; beyond it, the nearest corner's.
ThinLines LinesWithElevations(const ThinLines& lines, const std::vector<ThinRecord>& hull,
                              const std::vector<ThinRecord>& sample, double tolerance) {
    ThinLines result = lines;
    std::vector<ThinLine*> flat;
    if (result.boundary.flat) {
        flat.push_back(&result.boundary);
    }
    for (ThinLine& hole : result.holes) {
        if (hole.flat) {
            flat.push_back(&hole);
        }
    }
    if (flat.empty()) {
        return result;
    }
    ThinningTin rough(tolerance);
    SeedThinning(hull, ThinLines(), rough);
    for (const ThinRecord& record : sample) {
        rough.Offer(record.p, record.id, ThinningTin::OfferMode::AttachAll);
    }
    rough.Refine(nullptr);
    for (ThinLine* line : flat) {
        for (ThinPoint& v : line->vertices) {
            v.z = rough.ElevationAt(v.x, v.y);
            if (std::isnan(v.z)) {
                double nearest = HUGE_VAL;
                for (const ThinRecord& corner : hull) {
                    const double d = (corner.p.x - v.x) * (corner.p.x - v.x) +
                                     (corner.p.y - v.y) * (corner.p.y - v.y);
                    if (d < nearest) {
                        nearest = d;
                        v.z = corner.p.z;
                    }
                }
            }
        }
    }
    return result;
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
    // The nodes of a whole regular grid, without lines: thinned on the grid itself.
    GridLattice grid;
    if (first.KeptAll() && options.lines.Empty() && FindGridLattice(first.All(), grid)) {
        std::vector<ThinPoint>().swap(first.All());
        result.surface = ThinGridLattice(grid, options.tolerance, options.tick);
        result.kept = result.surface.ids.size();
        result.grid = true;
        return result;
    }
    ThinningTin tin(options.tolerance);
    SeedThinning(hull, LinesWithElevations(options.lines, hull, first.Sample(), options.tolerance),
                 tin);
    std::uint64_t conflicts = 0;
    std::uint64_t outside = 0;
    using Mode = ThinningTin::OfferMode;
    const auto offer = [&](const ThinRecord& record, Mode mode) {
        const auto offered = tin.Offer(record.p, record.id, mode);
        conflicts += offered == ThinningTin::Offered::Conflict ? 1 : 0;
        outside += offered == ThinningTin::Offered::Outside ? 1 : 0;
        return offered;
    };
    // Offers the records in the order of the curve, so that the candidates of a triangle lie
    // close together in memory.
    const auto offerSorted = [&](std::vector<ThinRecord>& records, Mode mode) {
        InCurveOrder(
            tin, records.size(), [&](std::size_t i) { return records[i]; },
            [&](const ThinRecord& record) { offer(record, mode); });
        records.clear();
    };
    if (first.KeptAll()) {
        std::vector<ThinPoint>& all = first.All();
        tin.Reserve(all.size());
        InCurveOrder(
            tin, all.size(),
            [&](std::size_t i) {
                return ThinRecord{all[i], static_cast<std::uint32_t>(i)};
            },
            [&](const ThinRecord& record) { offer(record, Mode::AttachAll); });
        std::vector<ThinPoint>().swap(all);
        tin.Refine(options.tick);
        result.conflicts = conflicts + tin.Blocked();
        result.outside = outside;
    } else {
        std::vector<ThinRecord> sample = first.Sample();
        // Bands of the curve that each hold about three quarters of the budget, by the sample.
        std::vector<std::uint64_t> keys;
        for (const ThinRecord& record : sample) {
            keys.push_back(tin.SpatialKey(record.p));
        }
        std::sort(keys.begin(), keys.end());
        const std::uint64_t perBand = std::max<std::uint64_t>(budget * 3 / 4, 1);
        const std::uint64_t bands =
            keys.empty()
                ? 1
                : std::min<std::uint64_t>((result.read + perBand - 1) / perBand, keys.size());
        offerSorted(sample, Mode::AttachAll);
        tin.Refine(options.tick);
        std::vector<ThinRecord> staged;
        for (std::uint64_t band = 0; band < bands; ++band) {
            // The points of one band all wait, within the tolerance or not: thinned as in memory.
            ++result.passes;
            const std::uint64_t low = band == 0 ? 0 : keys[band * keys.size() / bands];
            const std::uint64_t high = keys.empty() || band + 1 == bands
                                           ? ~std::uint64_t{0}
                                           : keys[(band + 1) * keys.size() / bands];
            std::uint64_t count = 0;
            const bool ok = read([&](double x, double y, double z) {
                const ThinPoint p{x, y, z};
                const std::uint64_t key = tin.SpatialKey(p);
                if (key >= low && (key < high || band + 1 == bands)) {
                    staged.push_back({p, static_cast<std::uint32_t>(count)});
                    if (staged.size() >= budget) {
                        offerSorted(staged, Mode::AttachAll);
                        tin.Refine(options.tick);
                    }
                }
                ++count;
            });
            if (!ok || count != result.read) {
                result.status =
                    ok ? ThinStreamResult::Status::Changed : ThinStreamResult::Status::ReadFailed;
                return result;
            }
            offerSorted(staged, Mode::AttachAll);
            tin.Refine(options.tick);
        }
        std::vector<ThinRecord> beyond;
        for (bool again = true; again;) {
            ++result.passes;
            conflicts = 0;
            outside = 0;
            const std::uint64_t inserted = tin.Inserted();
            const std::uint64_t blocked = tin.Blocked();
            std::uint64_t count = 0;
            // Points within half the tolerance of the surface as it is are dropped at once; the
            // others wait. The points are measured in blocks put in the order of the curve, so
            // that the walks to them are short and stay in the cache.
            std::vector<ThinRecord> block;
            const auto measure = [&]() {
                InCurveOrder(
                    tin, block.size(), [&](std::size_t i) { return block[i]; },
                    [&](const ThinRecord& record) {
                        const auto offered = offer(record, Mode::Measure);
                        if (offered == ThinningTin::Offered::Queued ||
                            offered == ThinningTin::Offered::Near) {
                            beyond.push_back(record);
                            if (beyond.size() >= budget) {
                                offerSorted(beyond, Mode::AttachAll);
                                tin.Refine(options.tick);
                            }
                        }
                    });
                block.clear();
            };
            const bool ok = read([&](double x, double y, double z) {
                block.push_back({ThinPoint{x, y, z}, static_cast<std::uint32_t>(count)});
                if (block.size() >= budget / 4) {
                    measure();
                }
                ++count;
            });
            measure();
            if (!ok) {
                result.status = ThinStreamResult::Status::ReadFailed;
                return result;
            }
            if (count != result.read) {
                result.status = ThinStreamResult::Status::Changed;
                return result;
            }
            offerSorted(beyond, Mode::AttachAll);
            tin.Refine(options.tick);
            again = tin.Inserted() != inserted;
            result.conflicts = conflicts + (tin.Blocked() - blocked);
            result.outside = outside;
        }
    }
    tin.ReleaseWaiting();
    result.surface = tin.Result();
    if (result.surface.triangles.empty()) {
        throw GeometryError(GeometryFailure::kNothingLeft);
    }
    for (const std::uint32_t id : result.surface.ids) {
        result.kept += id != ThinningTin::kLineVertex ? 1 : 0;
    }
    return result;
}

}  // namespace geom
