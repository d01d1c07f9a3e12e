// The constrained triangulator against CGAL's constrained Delaunay triangulation (exact
// predicates): on random points in general position with random breaklines, outer boundaries
// and holes that do not cross, the triangle sets must be the same, since the constrained
// Delaunay triangulation is then unique; with crossing breaklines, the same up to the rounding of
// the crossing vertices.
#ifdef KAF_TEST_WITH_CGAL

#include <gtest/gtest.h>

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>

#include "checks/cdt_test_support.h"

namespace {

using namespace cdttest;
using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Cgal =
    CGAL::Constrained_Delaunay_triangulation_2<Kernel, CGAL::Default, CGAL::Exact_predicates_tag>;
using Position = std::pair<double, double>;
using Face = std::array<Position, 3>;

Face Sorted(Face f) {
    std::sort(f.begin(), f.end());
    return f;
}

std::set<Face> OurFaces(const CdtRun& run) {
    std::set<Face> faces;
    for (const geom::CTriangle& t : run.triangles) {
        faces.insert(
            Sorted({Position{t.p1.x, t.p1.y}, Position{t.p2.x, t.p2.y}, Position{t.p3.x, t.p3.y}}));
    }
    return faces;
}

// CGAL's faces inside the domain: reached from the infinite face across an odd number of boundary
// edges (the tests' holes lie inside the outer boundary and apart).
std::set<Face> CgalFaces(const CdtInput& input) {
    Cgal cgal;
    for (const CVertex& p : input.points) {
        cgal.insert(Kernel::Point_2(p.x, p.y));
    }
    std::set<std::pair<Position, Position>> boundary;
    const auto addLine = [&](const Polyline& line, bool closed) {
        for (std::size_t k = 0; k + 1 < line.size() + (closed ? 1 : 0); ++k) {
            const CVertex& p = line[k];
            const CVertex& q = line[(k + 1) % line.size()];
            cgal.insert_constraint(Kernel::Point_2(p.x, p.y), Kernel::Point_2(q.x, q.y));
            if (closed) {
                boundary.insert(std::minmax(Position{p.x, p.y}, Position{q.x, q.y}));
            }
        }
    };
    for (const Polyline& line : input.breaklines) {
        if (line.size() == 1) {
            cgal.insert(Kernel::Point_2(line[0].x, line[0].y));
        }
        addLine(line, false);
    }
    addLine(input.outer, true);
    for (const Polyline& hole : input.holes) {
        addLine(hole, true);
    }
    const bool bounded = !input.outer.empty() || !input.holes.empty();
    std::map<Cgal::Face_handle, int> parity;
    std::vector<Cgal::Face_handle> queue{cgal.infinite_face()};
    parity[cgal.infinite_face()] = 0;
    for (std::size_t k = 0; k < queue.size(); ++k) {
        const Cgal::Face_handle f = queue[k];
        for (int i = 0; i < 3; ++i) {
            const Cgal::Face_handle g = f->neighbor(i);
            if (parity.count(g)) {
                continue;
            }
            const auto& a = f->vertex(Cgal::cw(i))->point();
            const auto& b = f->vertex(Cgal::ccw(i))->point();
            const bool crossesBoundary =
                boundary.count(std::minmax(Position{a.x(), a.y()}, Position{b.x(), b.y()})) != 0;
            parity[g] = parity[f] ^ (crossesBoundary ? 1 : 0);
            queue.push_back(g);
        }
    }
    std::set<Face> faces;
    for (auto f = cgal.finite_faces_begin(); f != cgal.finite_faces_end(); ++f) {
        if (bounded && parity[f] == 0) {
            continue;
        }
        Face face;
        for (int i = 0; i < 3; ++i) {
            face[i] = {f->vertex(i)->point().x(), f->vertex(i)->point().y()};
        }
        faces.insert(Sorted(face));
    }
    return faces;
}

bool Cross(const CVertex& a, const CVertex& b, const CVertex& c, const CVertex& d) {
    const int abc = exact::ExactOrient(At(a), At(b), At(c));
    const int abd = exact::ExactOrient(At(a), At(b), At(d));
    const int cda = exact::ExactOrient(At(c), At(d), At(a));
    const int cdb = exact::ExactOrient(At(c), At(d), At(b));
    if (abc == 0 && abd == 0) {  // on one line: overlapping boxes count as meeting
        return std::max(std::min(a.x, b.x), std::min(c.x, d.x)) <=
                   std::min(std::max(a.x, b.x), std::max(c.x, d.x)) &&
               std::max(std::min(a.y, b.y), std::min(c.y, d.y)) <=
                   std::min(std::max(a.y, b.y), std::max(c.y, d.y));
    }
    return abc * abd <= 0 && cda * cdb <= 0;
}

class RandomInput {
public:
    explicit RandomInput(unsigned seed) : random_(seed) {}

    double Uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random_);
    }

    void AddPoints(CdtInput& input, int count) {
        for (int k = 0; k < count; ++k) {
            input.points.emplace_back(Uniform(0, 100), Uniform(0, 100), Uniform(0, 10));
        }
    }

    // A star-shaped polygon around (cx, cy), counter-clockwise or not.
    Polyline Star(double cx, double cy, double rMin, double rMax, int corners, bool clockwise) {
        Polyline polygon;
        for (int k = 0; k < corners; ++k) {
            const double angle =
                (clockwise ? -1 : 1) * 2 * M_PI * (k + Uniform(0.1, 0.9)) / corners;
            const double r = Uniform(rMin, rMax);
            polygon.emplace_back(cx + r * std::cos(angle), cy + r * std::sin(angle),
                                 Uniform(0, 10));
        }
        return polygon;
    }

    // A line is accepted only when it meets none of the accepted ones.
    bool Apart(const Polyline& line, bool closed) const {
        for (std::size_t k = 0; k + 1 < line.size() + (closed ? 1 : 0); ++k) {
            for (const Segment& s : accepted_) {
                if (Cross(line[k], line[(k + 1) % line.size()], s.p, s.q)) {
                    return false;
                }
            }
        }
        return true;
    }
    void Accept(const Polyline& line, bool closed) {
        for (std::size_t k = 0; k + 1 < line.size() + (closed ? 1 : 0); ++k) {
            accepted_.push_back({line[k], line[(k + 1) % line.size()]});
        }
    }

    // Random walks; without `crossing`, each step meets no accepted line and no earlier step
    // of its own line but the one before, which it only joins.
    void AddBreaklines(CdtInput& input, int count, double step, bool crossing) {
        for (int made = 0; made < count;) {
            Polyline line{CVertex(Uniform(5, 95), Uniform(5, 95), Uniform(0, 10))};
            const int segments = 1 + static_cast<int>(Uniform(0, 4));
            std::vector<Segment> own;
            for (int k = 0; k < segments; ++k) {
                const double angle = Uniform(0, 2 * M_PI);
                const CVertex next(line.back().x + step * std::cos(angle),
                                   line.back().y + step * std::sin(angle), Uniform(0, 10));
                const Polyline stepLine{line.back(), next};
                bool apart = crossing || Apart(stepLine, false);
                for (std::size_t s = 0; !crossing && s + 1 < own.size(); ++s) {
                    apart = apart && !Cross(line.back(), next, own[s].p, own[s].q);
                }
                if (!crossing && !own.empty() &&
                    exact::ExactOrient(At(own.back().p), At(own.back().q), At(next)) == 0) {
                    apart = false;
                }
                if (!apart) {
                    break;
                }
                own.push_back({line.back(), next});
                line.push_back(next);
            }
            if (line.size() < 2 || (!crossing && !Apart(line, false))) {
                continue;
            }
            Accept(line, false);
            input.breaklines.push_back(line);
            ++made;
        }
    }

private:
    std::mt19937 random_;
    std::vector<Segment> accepted_;
};

void ExpectSameAsCgal(const CdtInput& input, const std::string& label) {
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "") << label;
    EXPECT_EQ(CheckCdt(run, SegmentsOf(input)), MeshFaults{}) << label;
    const std::set<Face> ours = OurFaces(run);
    const std::set<Face> theirs = CgalFaces(input);
    EXPECT_EQ(ours.size(), run.triangles.size()) << label << ": a triangle listed twice";
    EXPECT_TRUE(ours == theirs) << label << ": " << ours.size() << " triangles against CGAL's "
                                << theirs.size();
}

// Odd seeds move the site to survey coordinates (easting 500 km, northing 5000 km), where the
// coordinates keep far fewer bits below the metre.
TEST(CdtAgainstCgal, RandomBreaklines) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        RandomInput random(seed);
        CdtInput input;
        random.AddPoints(input, 400);
        random.AddBreaklines(input, 25, seed % 2 == 0 ? 4.0 : 15.0, false);
        if (seed % 2 == 1) {
            for (CVertex& p : input.points) {
                p.x += 500000.0;
                p.y += 5000000.0;
            }
            for (Polyline& line : input.breaklines) {
                for (CVertex& v : line) {
                    v.x += 500000.0;
                    v.y += 5000000.0;
                }
            }
        }
        ExpectSameAsCgal(input, "seed " + std::to_string(seed));
    }
}

TEST(CdtAgainstCgal, RandomBoundariesHolesAndBreaklines) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        RandomInput random(seed);
        CdtInput input;
        random.AddPoints(input, 500);
        input.outer = random.Star(50, 50, 25, 48, 5 + static_cast<int>(seed) * 3, seed % 2 == 1);
        random.Accept(input.outer, true);
        for (int tries = 0; tries < 30 && input.holes.size() < 4; ++tries) {
            Polyline hole = random.Star(random.Uniform(30, 70), random.Uniform(30, 70), 2, 7, 6,
                                        tries % 2 == 0);
            if (random.Apart(hole, true)) {
                random.Accept(hole, true);
                input.holes.push_back(hole);
            }
        }
        random.AddBreaklines(input, 15, 6.0, false);
        ExpectSameAsCgal(input, "seed " + std::to_string(seed));
    }
}

// Lines through vertices, along each other, repeated and reaching outside the points: CGAL splits
// and joins constraints the same way, so the triangle sets agree.
TEST(CdtAgainstCgal, HardLineCases) {
    RandomInput random(77);
    CdtInput input;
    random.AddPoints(input, 300);
    input.points.emplace_back(40, 60, 1);  // a survey point a breakline runs through
    input.breaklines = {
        {CVertex(10, 10, 1), CVertex(50, 50, 2)},
        {CVertex(30, 30, 5), CVertex(30, 70, 5)},  // starts on the first line
        {CVertex(20, 20, 1), CVertex(40, 40, 1)},  // along the first line
        {CVertex(60, 40, 1), CVertex(60, 40, 3), CVertex(70, 45, 1), CVertex(70, 45, 1)},
        {CVertex(20, 60, 1), CVertex(60, 60, 1)},    // through (40, 60) and past (30, 60)
        {CVertex(90, 90, 1), CVertex(130, 120, 1)},  // out of the point cloud
        {CVertex(-20, 50, 2)},                       // a single vertex, outside
    };
    ExpectSameAsCgal(input, "hard lines");
}

// With crossing breaklines the crossing vertices are rounded, by CGAL and by us: each of ours
// must lie within a few units in the last place of CGAL's, and the triangles then agree.
void ExpectSameAsCgalUpToRounding(const CdtInput& input, std::size_t minimumVertices,
                                  const std::string& label) {
    const CdtRun run = RunCdt(input);
    ASSERT_EQ(run.failure, "") << label;
    const std::set<Face> theirs = CgalFaces(input);
    std::set<Position> cgalVertices;
    for (const Face& f : theirs) {
        cgalVertices.insert(f.begin(), f.end());
    }
    const auto nearest = [&](Position p) {
        Position best = p;
        double bestDistance = 1e-9;
        for (auto q = cgalVertices.lower_bound({p.first - 1e-9, -HUGE_VAL});
             q != cgalVertices.end() && q->first <= p.first + 1e-9; ++q) {
            const double d = std::hypot(q->first - p.first, q->second - p.second);
            if (d < bestDistance) {
                best = *q;
                bestDistance = d;
            }
        }
        return best;
    };
    std::set<Face> ours;
    for (const Face& f : OurFaces(run)) {
        ours.insert(Sorted({nearest(f[0]), nearest(f[1]), nearest(f[2])}));
    }
    EXPECT_EQ(ours.size(), run.triangles.size()) << label << ": a triangle listed twice";
    EXPECT_GT(run.vertices.size(), minimumVertices) << label;
    EXPECT_TRUE(ours == theirs) << label << ": " << ours.size() << " against " << theirs.size();
}

TEST(CdtAgainstCgal, CrossingBreaklines) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        RandomInput random(seed);
        CdtInput input;
        random.AddPoints(input, 300);
        random.AddBreaklines(input, 30, 20.0, true);
        ExpectSameAsCgalUpToRounding(input, input.points.size() + 4 * 30,
                                     "seed " + std::to_string(seed));
    }
}

// The mesh's lists start in the room CDCT lends from its result list, with room for as many
// crossing vertices as the lines have vertices and 1024 more. Grids of breaklines crossing
// 1600 and 1800 times make every list outgrow that room in mid-insertion; repeated points, an
// outer boundary and holes are read beside them. The result is then written into storage of its
// own (the whole square kept) or over the room the lists started in (the boundary keeping the
// lower half).
TEST(CdtAgainstCgal, CrossingGridsOutgrowTheLentRoom) {
    struct Grid {
        int points;
        int columns;
        int rows;
        double top;
    };
    for (const Grid& grid : {Grid{800, 40, 40, 100}, Grid{4000, 60, 30, 50}}) {
        RandomInput random(static_cast<unsigned>(grid.rows));
        CdtInput input;
        random.AddPoints(input, grid.points);
        for (int k = 0; k < 200; ++k) {
            const CVertex& p = input.points[static_cast<std::size_t>(k) * 3];
            input.points.emplace_back(p.x, p.y, p.z + 1.0);
        }
        // Slanted a little each, so that no four crossings lie on one circle.
        for (int k = 0; k < grid.columns; ++k) {
            const double x = 2.25 + (96.0 / grid.columns) * k;
            input.breaklines.push_back({CVertex(x + random.Uniform(0, 0.1), grid.top - 1, 3),
                                        CVertex(x + random.Uniform(0, 0.1), 1, 4)});
        }
        for (int k = 0; k < grid.rows; ++k) {
            const double y = 2.25 + ((grid.top - 4) / grid.rows) * k;
            input.breaklines.push_back({CVertex(1, y + random.Uniform(0, 0.1), 1),
                                        CVertex(99, y + random.Uniform(0, 0.1), 2)});
        }
        const double top = grid.top - 0.5;
        input.outer = {CVertex(0.5, 0.5, 0), CVertex(99.5, 0.5, 0), CVertex(99.5, top, 0),
                       CVertex(0.5, top, 0)};
        input.holes = {{CVertex(0.7, 0.7, 0), CVertex(1.8, 0.7, 0), CVertex(0.7, 1.8, 0)},
                       {CVertex(99.3, top - 0.2, 0), CVertex(99.3, top - 0.4, 0),
                        CVertex(99.1, top - 0.2, 0)}};
        // At least every crossing and a third of the points are vertices.
        const std::size_t crossings = static_cast<std::size_t>(grid.columns) * grid.rows;
        ExpectSameAsCgalUpToRounding(input, crossings + static_cast<std::size_t>(grid.points) / 3,
                                     "grid of " + std::to_string(crossings) + " crossings");
    }
}

}  // namespace

#endif
