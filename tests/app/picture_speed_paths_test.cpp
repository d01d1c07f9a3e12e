// The picture's parts that take short ways for large drawings: the legend's colours found without
// sorting the vertices, and the PNG encoding. Both must give exactly what the plain way gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/picture/elevation_legend.h"
#include "app/picture/level_counter.h"
#include "app/picture/write_png.h"
#include "png_reader.h"

namespace {

using kafcad::ElevationRamp;
using kafcad::RampSample;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::Rgb;

// A mesh holding the samples as vertices (faces do not matter to the legend).
EntityInfo Mesh(const std::vector<RampSample>& samples) {
    EntityInfo mesh;
    mesh.type = EntityKind::kSubDMesh;
    for (const RampSample& sample : samples) {
        mesh.vertices.push_back({0.0, 0.0, sample.z});
        mesh.vertexColours.push_back(sample.colour);
    }
    mesh.faces = {{0, 1, 2}};
    return mesh;
}

// The colour at z as the samples sorted by elevation give it: linear between the samples on
// either side, the end samples' colours beyond them.
Rgb SortedColourAt(std::vector<RampSample> samples, double z) {
    std::sort(samples.begin(), samples.end(),
              [](const RampSample& a, const RampSample& b) { return a.z < b.z; });
    const auto above =
        std::find_if(samples.begin(), samples.end(), [z](const RampSample& s) { return s.z >= z; });
    if (above == samples.end()) {
        return samples.back().colour;
    }
    if (above == samples.begin() || above->z == z) {
        return above->colour;
    }
    const RampSample& below = *std::prev(above);
    const double t = (z - below.z) / (above->z - below.z);
    Rgb colour;
    for (int c = 0; c < 3; ++c) {
        colour[c] = static_cast<int>(
            std::lround(below.colour[c] + t * (above->colour[c] - below.colour[c])));
    }
    return colour;
}

// Elevations of the samples, between them and beyond both ends.
std::vector<double> Elevations(const std::vector<RampSample>& samples, std::mt19937& random) {
    std::vector<double> elevations = {-1000.0, 1000.0};
    std::uniform_real_distribution<double> anywhere(-60.0, 60.0);
    for (int i = 0; i < 300; ++i) {
        elevations.push_back(anywhere(random));
        elevations.push_back(samples[random() % samples.size()].z);
    }
    return elevations;
}

void ExpectColoursAsSorted(const std::vector<RampSample>& samples, std::mt19937& random) {
    const EntityInfo mesh = Mesh(samples);
    const ElevationRamp ramp({&mesh});
    const std::vector<double> elevations = Elevations(samples, random);
    const std::vector<Rgb> colours = ramp.ColoursAt(elevations);
    ASSERT_EQ(colours.size(), elevations.size());
    int wrong = 0;
    for (std::size_t i = 0; i < elevations.size(); ++i) {
        if (colours[i] != SortedColourAt(samples, elevations[i]) && ++wrong <= 3) {
            ADD_FAILURE() << "colour at elevation " << elevations[i];
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ElevationRamp, ColoursAreThoseOfTheSortedSamples) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> elevation(-50.0, 50.0);
    // Colours by elevation, as kaf-changeMeshColor gives them; elevations repeat (shared
    // vertices of split meshes) with the same colour.
    std::vector<RampSample> byElevation;
    for (int i = 0; i < 5000; ++i) {
        const double z = std::round(elevation(random) * 10.0) / 10.0;
        byElevation.push_back(RampSample{z, Rgb{static_cast<int>(z + 50) * 2, 40, 200}});
    }
    ExpectColoursAsSorted(byElevation, random);
    // Colours of their own: samples of one elevation differ, and the sorted order decides.
    std::vector<RampSample> mixed;
    for (int i = 0; i < 5000; ++i) {
        const double z = std::round(elevation(random));
        mixed.push_back(RampSample{z, Rgb{static_cast<int>(random() % 256), 0, 0}});
    }
    ExpectColoursAsSorted(mixed, random);
    // A single sample, and two samples of one elevation in different colours.
    ExpectColoursAsSorted({RampSample{3.0, Rgb{1, 2, 3}}}, random);
    ExpectColoursAsSorted({RampSample{3.0, Rgb{1, 2, 3}}, RampSample{3.0, Rgb{9, 9, 9}}}, random);
}

TEST(ElevationRamp, EndsAreTheLowestAndHighestFiniteElevations) {
    const EntityInfo mesh = Mesh({{4.0, {0, 0, 0}},
                                  {std::nan(""), {0, 0, 0}},
                                  {-2.5, {0, 0, 0}},
                                  {9.0, {0, 0, 0}},
                                  {0.5, {0, 0, 0}}});
    const ElevationRamp ramp({&mesh});
    ASSERT_FALSE(ramp.Empty());
    EXPECT_EQ(ramp.Low(), -2.5);
    EXPECT_EQ(ramp.High(), 9.0);
    EntityInfo plain = mesh;
    plain.vertexColours.clear();
    EXPECT_TRUE(ElevationRamp({&plain}).Empty());
    const EntityInfo unknown = Mesh({{std::nan(""), {1, 2, 3}}, {INFINITY, {1, 2, 3}}});
    EXPECT_TRUE(ElevationRamp({&unknown}).Empty());
}

TEST(ElevationRamp, AZeroEndIsThatOfTheSortedSamples) {
    // The legend labels -0 and 0 differently: a zero end is the zero that a sort of the samples
    // puts at that end; for these few samples the sort keeps drawing order, across meshes, so the
    // low end is the first zero and the high end the last.
    const EntityInfo first = Mesh({{-5.0, {0, 0, 0}}, {-0.0, {0, 0, 0}}});
    const EntityInfo second = Mesh({{0.0, {0, 0, 0}}, {-3.0, {0, 0, 0}}});
    const ElevationRamp negativeFirst({&first, &second});
    EXPECT_EQ(negativeFirst.Low(), -5.0);
    EXPECT_EQ(negativeFirst.High(), 0.0);
    EXPECT_FALSE(std::signbit(negativeFirst.High()));
    const ElevationRamp positiveFirst({&second, &first});
    EXPECT_TRUE(std::signbit(positiveFirst.High()));
    const EntityInfo above = Mesh({{4.0, {0, 0, 0}}, {0.0, {0, 0, 0}}, {-0.0, {0, 0, 0}}});
    EXPECT_FALSE(std::signbit(ElevationRamp({&above}).Low()));
}

// The count of levels at or below each value, checked against std::upper_bound for values at the
// levels, next to them (one unit in the last place either way), between and beyond them.
void ExpectCountsOfUpperBound(const std::vector<double>& levels, std::mt19937& random) {
    const kafcad::LevelCounter counter(levels);
    std::vector<double> values = {-1e300, 1e300, 0.0, -0.0};
    for (const double level : levels) {
        values.push_back(level);
        values.push_back(std::nextafter(level, -INFINITY));
        values.push_back(std::nextafter(level, INFINITY));
    }
    if (!levels.empty()) {
        const double span = levels.back() - levels.front();
        std::uniform_real_distribution<double> around(levels.front() - span - 1.0,
                                                      levels.back() + span + 1.0);
        for (int i = 0; i < 2000; ++i) {
            values.push_back(around(random));
        }
    }
    int wrong = 0;
    for (const double z : values) {
        const auto expected = static_cast<std::size_t>(
            std::upper_bound(levels.begin(), levels.end(), z) - levels.begin());
        if (counter.AtOrBelow(z) != expected && ++wrong <= 3) {
            ADD_FAILURE() << "levels at or below " << z << ": " << counter.AtOrBelow(z)
                          << ", expected " << expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(LevelCounter, CountsAsUpperBound) {
    std::mt19937 random(23);
    // The legend's levels: a bar's rows from the highest elevation down, sorted.
    std::vector<double> rows;
    for (int row = 0; row < 817; ++row) {
        rows.push_back(580.0 - (row + 0.5) / 817.0 * (580.0 - 430.0));
    }
    std::sort(rows.begin(), rows.end());
    ExpectCountsOfUpperBound(rows, random);
    // Levels crowded at one end and sparse at the other, so that buckets hold many.
    std::vector<double> crowded;
    for (int i = 0; i < 500; ++i) {
        crowded.push_back(1.0 + i * 1e-12);
    }
    crowded.push_back(5.0e6);
    ExpectCountsOfUpperBound(crowded, random);
    // Both signs of zero's neighbours, a span too large for a double, one level and none.
    ExpectCountsOfUpperBound({-1e-300, 0.0, 1e-300}, random);
    ExpectCountsOfUpperBound({-1.5e308, 0.0, 1.5e308}, random);
    ExpectCountsOfUpperBound({42.0}, random);
    ExpectCountsOfUpperBound({}, random);
}

TEST(WritePng, PixelsReadBackExactly) {
    // Noise, flat runs and gradients, with rows longer than the picture is wide.
    const int width = 97;
    const int height = 61;
    const int stride = 100;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride * height), 0xFF000000u);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto at = static_cast<std::size_t>(y * stride + x);
            pixels[at] = y < 20   ? random() & 0xFFFFFF
                         : y < 40 ? 0x336699u
                                  : static_cast<std::uint32_t>((x * 2) << 16 | (y * 4) << 8 | 7);
        }
    }
    const std::string path = std::filesystem::temp_directory_path().string() + "/kafcad_png_" +
                             std::to_string(::getpid()) + ".png";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    kafcad::WritePng(file, kafcad::PixelImage{pixels.data(), width, height, stride});
    std::fclose(file);
    const Picture picture = ReadPng(path);
    std::filesystem::remove(path);
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, height);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            wrong +=
                picture.At(x, y) != (pixels[static_cast<std::size_t>(y * stride + x)] & 0xFFFFFFu);
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
