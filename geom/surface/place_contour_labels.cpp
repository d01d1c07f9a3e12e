#include "geom/surface/place_contour_labels.h"
#include "geom/kernel/plan_length.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace geom {
namespace {

constexpr double kPi = 3.14159265358979323846;
// How far the line may stray from the chord under a label (in heights), and turn from it.
constexpr double kMostStray = 0.25;
constexpr double kMostTurnRadians = 30.0 * kPi / 180.0;
// Shifts tried on each side of a wanted place, up to half a spacing.
constexpr int kShiftSteps = 12;

// A label's box: centre, unit direction along, half sizes along and across.
struct Box {
    double x, y, ux, uy, halfLength, halfHeight;
};

// Whether two boxes overlap, by the separating axis test on their four axes.
bool Overlap(const Box& a, const Box& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const Box* boxes[2] = {&a, &b};
    for (const Box* axisBox : boxes) {
        for (int across = 0; across < 2; ++across) {
            const double ax = across == 0 ? axisBox->ux : -axisBox->uy;
            const double ay = across == 0 ? axisBox->uy : axisBox->ux;
            double reach = 0.0;
            for (const Box* box : boxes) {
                const double along = std::fabs(box->ux * ax + box->uy * ay);
                const double side = std::fabs(-box->uy * ax + box->ux * ay);
                reach += box->halfLength * along + box->halfHeight * side;
            }
            if (std::fabs(dx * ax + dy * ay) >= reach) {
                return false;
            }
        }
    }
    return true;
}

// The placed boxes in a hash of square cells as large as the largest box.
class BoxIndex {
public:
    explicit BoxIndex(double cell) : cell_(cell) {}

    bool Free(const Box& box) const {
        const double reach = box.halfLength + box.halfHeight;
        bool free = true;
        ForCells(box, reach, [&](std::int64_t key) {
            const auto found = cells_.find(key);
            if (found == cells_.end()) {
                return;
            }
            for (const std::size_t i : found->second) {
                free = free && !Overlap(box, boxes_[i]);
            }
        });
        return free;
    }

    void Add(const Box& box) {
        boxes_.push_back(box);
        ForCells(box, box.halfLength + box.halfHeight,
                 [&](std::int64_t key) { cells_[key].push_back(boxes_.size() - 1); });
    }

private:
    template <typename Visit>
    void ForCells(const Box& box, double reach, Visit visit) const {
        const auto c0 = static_cast<std::int64_t>(std::floor((box.x - reach) / cell_));
        const auto c1 = static_cast<std::int64_t>(std::floor((box.x + reach) / cell_));
        const auto r0 = static_cast<std::int64_t>(std::floor((box.y - reach) / cell_));
        const auto r1 = static_cast<std::int64_t>(std::floor((box.y + reach) / cell_));
        for (std::int64_t c = c0; c <= c1; ++c) {
            for (std::int64_t r = r0; r <= r1; ++r) {
                visit(c * 0x100000000LL + r);
            }
        }
    }

    double cell_;
    std::vector<Box> boxes_;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> cells_;
};

// A polyline measured along its length.
class MeasuredLine {
public:
    explicit MeasuredLine(const LabelledLine& line) : line_(line) {
        const std::size_t n = line.points.size();
        const std::size_t segments = line.closed ? n : n - 1;
        starts_.push_back(0.0);
        for (std::size_t i = 0; i < segments; ++i) {
            const PlanPoint& a = line.points[i];
            const PlanPoint& b = line.points[(i + 1) % n];
            starts_.push_back(starts_.back() + PlanLength(b.x - a.x, b.y - a.y));
        }
    }

    double Length() const { return starts_.back(); }
    bool Closed() const { return line_.closed; }

    // The segment holding the distance s (wrapped round a closed line) and the point there.
    std::size_t Segment(double& s) const {
        if (line_.closed) {
            s = std::fmod(s, Length());
            s = s < 0.0 ? s + Length() : s;
        }
        s = std::min(std::max(s, 0.0), Length());
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), s);
        std::size_t segment = static_cast<std::size_t>(it - starts_.begin());
        segment = segment == 0 ? 0 : segment - 1;
        return std::min(segment, starts_.size() - 2);
    }

    PlanPoint PointAt(double s) const {
        const std::size_t i = Segment(s);
        const PlanPoint& a = Start(i);
        const PlanPoint& b = End(i);
        const double length = starts_[i + 1] - starts_[i];
        const double t = length > 0.0 ? (s - starts_[i]) / length : 0.0;
        return PlanPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    }

    const PlanPoint& Start(std::size_t segment) const { return line_.points[segment]; }
    const PlanPoint& End(std::size_t segment) const {
        return line_.points[(segment + 1) % line_.points.size()];
    }
    double SegmentStart(std::size_t segment) const { return starts_[segment]; }
    double SegmentLength(std::size_t segment) const {
        return starts_[segment + 1] - starts_[segment];
    }
    std::size_t SegmentCount() const { return starts_.size() - 1; }

private:
    const LabelledLine& line_;
    std::vector<double> starts_;
};

double Upright(double angle) {
    if (angle > kPi / 2.0) {
        return angle - kPi;
    }
    if (angle <= -kPi / 2.0) {
        return angle + kPi;
    }
    return angle;
}

double AngleBetween(double a, double b) {
    double d = std::fabs(a - b);
    d = std::fmod(d, 2.0 * kPi);
    return std::min(d, 2.0 * kPi - d);
}

// The label at distance s along the line, when the line is straight enough under its box there.
bool TryPlace(const MeasuredLine& line, double s, double boxLength, double height,
              ContourLabel& label, Box& box) {
    const double half = boxLength / 2.0;
    if (!line.Closed() && (s - half < 0.0 || s + half > line.Length())) {
        return false;
    }
    double at = s;
    const std::size_t segment = line.Segment(at);
    const PlanPoint& a = line.Start(segment);
    const PlanPoint& b = line.End(segment);
    if (a.x == b.x && a.y == b.y) {
        return false;
    }
    const double direction = std::atan2(b.y - a.y, b.x - a.x);
    const PlanPoint first = line.PointAt(s - half);
    const PlanPoint last = line.PointAt(s + half);
    const double chordLength = PlanLength(last.x - first.x, last.y - first.y);
    if (chordLength < boxLength * 0.5) {
        return false;
    }
    const double chord = std::atan2(last.y - first.y, last.x - first.x);
    if (AngleBetween(direction, chord) > kMostTurnRadians) {
        return false;
    }
    // Every vertex under the box near the chord and every segment turning little from it.
    const double nx = -(last.y - first.y) / chordLength;
    const double ny = (last.x - first.x) / chordLength;
    double from = s - half;
    std::size_t i = line.Segment(from);
    double covered = line.SegmentStart(i) + line.SegmentLength(i) - from;
    for (std::size_t steps = 0; steps < line.SegmentCount(); ++steps) {
        const PlanPoint& q = line.Start(i);
        const PlanPoint& p = line.End(i);
        if ((p.x != q.x || p.y != q.y) &&
            AngleBetween(std::atan2(p.y - q.y, p.x - q.x), chord) > kMostTurnRadians) {
            return false;
        }
        if (covered >= boxLength) {
            break;
        }
        if (std::fabs((p.x - first.x) * nx + (p.y - first.y) * ny) > kMostStray * height) {
            return false;
        }
        i = (i + 1) % line.SegmentCount();
        covered += line.SegmentLength(i);
    }
    const PlanPoint anchor = line.PointAt(s);
    label.x = anchor.x;
    label.y = anchor.y;
    label.rotation = Upright(direction);
    box = Box{anchor.x, anchor.y, std::cos(direction), std::sin(direction), half, height};
    return true;
}

}  // namespace

void PlaceContourLabels(const std::vector<LabelledLine>& lines, const ContourLabelOptions& options,
                        std::vector<ContourLabel>& labels) {
    double largest = 0.0;
    for (const LabelledLine& line : lines) {
        largest = std::max(largest, line.labelLength + 3.0 * options.height);
    }
    BoxIndex placed(std::max(largest, options.height));
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const LabelledLine& line = lines[index];
        if (line.points.size() < 2) {
            continue;
        }
        const MeasuredLine measured(line);
        const double boxLength = line.labelLength + options.height;
        const double length = measured.Length();
        if (!(length >= 2.0 * boxLength)) {
            continue;
        }
        const std::size_t wanted =
            length < options.spacing
                ? 1
                : static_cast<std::size_t>(std::floor(length / options.spacing));
        const double first = length < options.spacing ? length / 2.0 : options.spacing / 2.0;
        const double reach = std::min(options.spacing, length) / 2.0;
        for (std::size_t k = 0; k < wanted; ++k) {
            const double s = first + static_cast<double>(k) * options.spacing;
            for (int step = 0; step <= 2 * kShiftSteps; ++step) {
                const double shift = reach * static_cast<double>((step + 1) / 2) / kShiftSteps;
                ContourLabel label;
                Box box{};
                if (TryPlace(measured, step % 2 == 0 ? s + shift : s - shift, boxLength,
                             options.height, label, box) &&
                    placed.Free(box)) {
                    label.line = index;
                    placed.Add(box);
                    labels.push_back(label);
                    break;
                }
            }
        }
    }
}

}  // namespace geom
