#include "geom/surface/cut_sections.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "geom/kernel/plan_length.h"
#include "geom/surface/profile_tracer.h"

namespace geom {

namespace {

// The line's pieces of non-zero length: their ends and the stations of their starts.
struct Piece {
    PlanPoint a;
    PlanPoint b;
    double station;
    double length;
};

std::vector<Piece> PiecesOf(const std::vector<PlanPoint>& line) {
    std::vector<Piece> pieces;
    double station = 0.0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const double length = PlanLength(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
        if (length > 0) {
            pieces.push_back({line[i], line[i + 1], station, length});
            station += length;
        }
    }
    return pieces;
}

// The stations of the sections: the multiples of the interval, and the line's end.
std::vector<double> StationsAlong(double length, double interval) {
    std::vector<double> stations;
    const double close = 1e-9 * length;  // a multiple this near the end is the end
    for (double k = 0; k * interval < length - close; k += 1.0) {
        stations.push_back(k * interval);
    }
    stations.push_back(length);
    return stations;
}

struct Direction {
    double x;
    double y;
};

Direction UnitAlong(const Piece& piece) {
    return {(piece.b.x - piece.a.x) / piece.length, (piece.b.y - piece.a.y) / piece.length};
}

// The point at a station and the line's direction there: along its piece, or at a vertex
// between two pieces the mean of their directions (the cut then bisects their angle).
void PlaceStation(const std::vector<Piece>& pieces, double station, PlanPoint& at,
                  Direction& along) {
    const double total = pieces.back().station + pieces.back().length;
    const double close = 1e-9 * total;
    std::size_t i = 0;
    while (i + 1 < pieces.size() && station > pieces[i].station + pieces[i].length - close) {
        ++i;
    }
    const Piece& piece = pieces[i];
    along = UnitAlong(piece);
    if (i > 0 && std::fabs(station - piece.station) <= close) {
        const Direction before = UnitAlong(pieces[i - 1]);
        const Direction mean = {before.x + along.x, before.y + along.y};
        const double size = PlanLength(mean.x, mean.y);
        if (size > 1e-12) {
            along = {mean.x / size, mean.y / size};
        }
        at = piece.a;
        return;
    }
    const double t = std::min(1.0, std::max(0.0, (station - piece.station) / piece.length));
    at = {piece.a.x + t * (piece.b.x - piece.a.x), piece.a.y + t * (piece.b.y - piece.a.y)};
}

// The elevation of a run at a station within its range.
double RunElevation(const ProfileRun& run, double station) {
    const std::vector<ProfilePoint>& p = run.points;
    const auto after = std::upper_bound(
        p.begin(), p.end(), station, [](double s, const ProfilePoint& q) { return s < q.station; });
    if (after == p.begin()) {
        return p.front().z;
    }
    if (after == p.end()) {
        return p.back().z;
    }
    const ProfilePoint& l = *(after - 1);
    const double t = (station - l.station) / (after->station - l.station);
    return l.z + t * (after->z - l.z);
}

// The run whose range holds [s0, s1], or null.
const ProfileRun* RunOver(const std::vector<ProfileRun>& runs, double s0, double s1) {
    for (const ProfileRun& run : runs) {
        if (!run.points.empty() && run.points.front().station <= s0 &&
            run.points.back().station >= s1) {
            return &run;
        }
    }
    return nullptr;
}

// Adds the integrals of the positive and the negative part of the function that runs linearly
// from f0 to f1 over the width.
void AddBySign(double width, double f0, double f1, double& positive, double& negative) {
    if (f0 >= 0 && f1 >= 0) {
        positive += width * (f0 + f1) / 2;
    } else if (f0 <= 0 && f1 <= 0) {
        negative -= width * (f0 + f1) / 2;
    } else {
        const double r = f0 / (f0 - f1);  // where it crosses zero
        if (f0 > 0) {
            positive += width * r * f0 / 2;
            negative -= width * (1 - r) * f1 / 2;
        } else {
            negative -= width * r * f0 / 2;
            positive += width * (1 - r) * f1 / 2;
        }
    }
}

}  // namespace

void CutAndFillBetween(const std::vector<ProfileRun>& existing,
                       const std::vector<ProfileRun>& design, double& cut, double& fill) {
    cut = 0.0;
    fill = 0.0;
    std::vector<double> stations;
    for (const std::vector<ProfileRun>* runs : {&existing, &design}) {
        for (const ProfileRun& run : *runs) {
            for (const ProfilePoint& p : run.points) {
                stations.push_back(p.station);
            }
        }
    }
    std::sort(stations.begin(), stations.end());
    for (std::size_t i = 0; i + 1 < stations.size(); ++i) {
        const double s0 = stations[i];
        const double s1 = stations[i + 1];
        if (!(s1 > s0)) {
            continue;
        }
        const ProfileRun* e = RunOver(existing, s0, s1);
        const ProfileRun* d = RunOver(design, s0, s1);
        if (e == nullptr || d == nullptr) {
            continue;
        }
        AddBySign(s1 - s0, RunElevation(*e, s0) - RunElevation(*d, s0),
                  RunElevation(*e, s1) - RunElevation(*d, s1), cut, fill);
    }
}

SurfaceStatus CutSections(const WeldedSurface& existing, const WeldedSurface* design,
                          const std::vector<PlanPoint>& alignment, const SectionOptions& options,
                          std::vector<CrossSection>& sections) {
    sections.clear();
    const double width = options.left + options.right;
    if (!(std::isfinite(options.interval) && options.interval > 0 && std::isfinite(options.left) &&
          std::isfinite(options.right) && options.left >= 0 && options.right >= 0 && width > 0)) {
        return SurfaceStatus::InvalidLevels;
    }
    try {
        const std::vector<Piece> pieces = PiecesOf(alignment);
        if (pieces.empty()) {
            return SurfaceStatus::Ok;
        }
        CProfileTracer onExisting(existing);
        std::unique_ptr<CProfileTracer> onDesign;
        if (design != nullptr) {
            onDesign.reset(new CProfileTracer(*design));
        }
        const double length = pieces.back().station + pieces.back().length;
        for (const double station : StationsAlong(length, options.interval)) {
            CrossSection section;
            section.station = station;
            PlanPoint at{0, 0};
            Direction along{0, 0};
            PlaceStation(pieces, station, at, along);
            section.leftEnd = {at.x - along.y * options.left, at.y + along.x * options.left};
            section.rightEnd = {at.x + along.y * options.right, at.y - along.x * options.right};
            const std::vector<PlanPoint> cut = {section.leftEnd, section.rightEnd};
            onExisting.Trace(cut, {-options.left, 0.0}, section.existing);
            if (onDesign) {
                onDesign->Trace(cut, {-options.left, 0.0}, section.design);
                CutAndFillBetween(section.existing, section.design, section.cutArea,
                                  section.fillArea);
                if (!sections.empty()) {
                    const CrossSection& previous = sections.back();
                    const double apart = station - previous.station;
                    section.cutVolume = (previous.cutArea + section.cutArea) / 2 * apart;
                    section.fillVolume = (previous.fillArea + section.fillArea) / 2 * apart;
                }
            }
            sections.push_back(std::move(section));
        }
    } catch (const std::bad_alloc&) {
        sections.clear();
        return SurfaceStatus::OutOfMemory;
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
