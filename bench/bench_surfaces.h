// The surveys the surface benchmarks work on: Point (x, y, z); Terrain(x, y), rolling hills
// over 10 km x 10 km with about 150 m of relief; Design(x, y), a platform sloping gently across
// the site; Survey(count, seed, height, noise), count random plan points over the site with
// their heights and normal survey noise of that size (none at 0).
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace bench {

struct Point {
    double x, y, z;
};

// Rolling hills over 10 km x 10 km, about 150 m of relief, with 5 cm of survey noise.
inline double Terrain(double x, double y) {
    return 150.0 + 40.0 * std::sin(x / 1500.0) * std::cos(y / 1100.0) +
           25.0 * std::sin((x + y) / 700.0) + 10.0 * std::cos(x / 300.0) * std::sin(y / 450.0);
}

// A platform sloping gently across the site.
inline double Design(double x, double y) {
    return 150.0 + 0.002 * (x - 5000.0) - 0.001 * (y - 5000.0);
}

inline std::vector<Point> Survey(std::size_t count, std::uint64_t seed,
                                 double (*height)(double, double), double noise) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> plan(0.0, 10000.0);
    std::normal_distribution<double> gauss(0.0, noise);
    std::vector<Point> points(count);
    for (Point& p : points) {
        p.x = plan(random);
        p.y = plan(random);
        p.z = height(p.x, p.y) + gauss(random);
    }
    return points;
}

}  // namespace bench
