#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/picture/draw_line.h"
#include "app/picture/drawing_extent.h"
#include "app/picture/polyline_path.h"
#include "app/picture/render_top_view.h"
#include "app/picture/shade_triangle.h"
#include "app/picture/view_transform.h"
#include "png_reader.h"

namespace {

using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

constexpr std::uint32_t kWhite = 0xFFFFFF;

EntityInfo SubDMesh(std::vector<kafhost::Point3> vertices, std::vector<std::vector<int>> faces,
                    std::vector<kafhost::Rgb> colours = {}) {
    EntityInfo mesh;
    mesh.type = EntityKind::kSubDMesh;
    mesh.vertices = std::move(vertices);
    mesh.faces = std::move(faces);
    mesh.vertexColours = std::move(colours);
    return mesh;
}

// A square from (0, 0) to (side, side) as two triangles.
EntityInfo Square(double side, std::vector<kafhost::Rgb> colours = {}) {
    return SubDMesh({{0, 0, 0}, {side, 0, 0}, {side, side, 0}, {0, side, 0}},
                    {{0, 1, 2}, {0, 2, 3}}, std::move(colours));
}

TEST(Picture, ColouredMeshIsShadedBetweenItsVertexColoursWithYUp) {
    DrawingSnapshot drawing;
    // Red along the bottom edge, blue along the top.
    drawing.entities.push_back(Square(10, {{255, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 255}}));
    const Picture picture = RenderPicture(drawing, 200, 100);
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 100);
    // The 10 x 10 square fills the height less the margins (4 px): rows 4 ... 95, columns 54 ...
    // 145.
    EXPECT_EQ(picture.At(10, 50), kWhite);
    EXPECT_EQ(picture.At(190, 50), kWhite);
    EXPECT_EQ(picture.At(100, 1), kWhite);
    const std::uint32_t bottom = picture.At(100, 94);
    const std::uint32_t top = picture.At(100, 5);
    const std::uint32_t middle = picture.At(100, 50);
    EXPECT_GE(bottom >> 16 & 0xFF, 250u) << Channels(bottom);
    EXPECT_LE(bottom & 0xFF, 5u) << Channels(bottom);
    EXPECT_GE(top & 0xFF, 250u) << Channels(top);
    EXPECT_LE(top >> 16 & 0xFF, 5u) << Channels(top);
    EXPECT_NEAR(static_cast<int>(middle >> 16 & 0xFF), 128, 3) << Channels(middle);
    EXPECT_NEAR(static_cast<int>(middle & 0xFF), 128, 3) << Channels(middle);
    EXPECT_EQ(middle >> 8 & 0xFF, 0u) << Channels(middle);
}

TEST(Picture, PlainMeshIsGreyWithItsEdgesAndPolylinesAreDrawnOverMeshes) {
    DrawingSnapshot drawing;
    drawing.entities.push_back(Square(10));
    EntityInfo outline;
    outline.type = EntityKind::kPolyline;
    outline.points = {{2, 2}, {8, 2}};
    drawing.entities.push_back(outline);
    EntityInfo kerb;  // a 3D polyline along y = 8, drawn by its plan positions
    kerb.type = EntityKind::kPolyline3d;
    kerb.vertices = {{2, 8, 50}, {5, 8, -7}, {8, 8, 3}};
    drawing.entities.push_back(kerb);
    EntityInfo erased = Square(100, std::vector<kafhost::Rgb>(4, {0, 0, 0}));
    erased.erased = true;
    drawing.entities.push_back(erased);
    EntityInfo paper = erased;
    paper.erased = false;
    paper.space = L"paper";
    drawing.entities.push_back(paper);

    const Picture picture = RenderPicture(drawing, 100, 100);
    // Erased entities and paper space neither show nor count for the extent: the square fills
    // the picture less its margins.
    EXPECT_EQ(picture.At(70, 30), 0xDEDEDEu) << Channels(picture.At(70, 30));
    EXPECT_EQ(picture.At(2, 2), kWhite);
    // The diagonal edge from (0, 0) to (10, 10) runs from pixel (4, 96) to (96, 4), through the
    // centre of pixel (49, 50): grey 115 at 80 % over the fill's 222.
    EXPECT_EQ(picture.At(49, 50), 0x888888u) << Channels(picture.At(49, 50));
    // The polyline along y = 2 (row 77.6) and the 3D polyline along y = 8 (row 22.4) are red.
    for (const std::uint32_t line : {picture.At(50, 77), picture.At(25, 22), picture.At(75, 22)}) {
        EXPECT_GT(line >> 16 & 0xFF, 150u) << Channels(line);
        EXPECT_LT(line & 0xFF, 100u) << Channels(line);
    }
}

TEST(Picture, MeshFacesReadInPlaceGiveTheSamePixels) {
    // A quad and a triangle, plain (edges drawn) and coloured (shaded), as lists per face and as
    // the drawing's one face list.
    const std::vector<int> faceList = {4, 0, 1, 4, 3, 3, 1, 2, 4};
    for (const bool coloured : {false, true}) {
        EntityInfo nested = SubDMesh({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 4, 0}},
                                     {{0, 1, 4, 3}, {1, 2, 4}});
        if (coloured) {
            nested.vertexColours = {
                {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}, {200, 100, 0}};
        }
        EntityInfo inPlace = nested;
        inPlace.faces.clear();
        inPlace.faceList = faceList.data();
        inPlace.faceListSize = faceList.size();
        DrawingSnapshot a;
        a.entities.push_back(nested);
        DrawingSnapshot b;
        b.entities.push_back(inPlace);
        const Picture expected = RenderPicture(a, 120, 90);
        const Picture got = RenderPicture(b, 120, 90);
        EXPECT_EQ(got.pixels, expected.pixels) << (coloured ? "coloured" : "plain");
        // Not a white picture: the mesh is drawn.
        EXPECT_TRUE(std::any_of(expected.pixels.begin(), expected.pixels.end(),
                                [](std::uint32_t pixel) { return pixel != kWhite; }));
    }
}

TEST(Picture, FacesNamingNoVertexAreLeftOut) {
    // The square's two triangles, then faces with an index below 0, one past the last vertex and
    // too few corners: the picture is that of the square alone, plain (edges) and coloured.
    const std::vector<std::vector<int>> bad = {{0, 2, -1}, {-5, 1, 2}, {1, 2, 5}, {0, 4}, {3, 0}};
    for (const bool coloured : {false, true}) {
        const std::vector<kafhost::Rgb> colours =
            coloured ? std::vector<kafhost::Rgb>{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}}
                     : std::vector<kafhost::Rgb>{};
        EntityInfo withBad = Square(10.0, colours);
        withBad.faces.insert(withBad.faces.end(), bad.begin(), bad.end());
        // Both have a fifth vertex inside the square (index 4) that no face uses.
        EntityInfo good = Square(10.0, colours);
        good.vertices.push_back({5, 5, 0});
        withBad.vertices.push_back({5, 5, 0});
        if (coloured) {
            good.vertexColours.push_back({1, 2, 3});
            withBad.vertexColours.push_back({1, 2, 3});
        }
        DrawingSnapshot a;
        a.entities.push_back(good);
        DrawingSnapshot b;
        b.entities.push_back(withBad);
        const Picture expected = RenderPicture(a, 100, 80);
        EXPECT_EQ(RenderPicture(b, 100, 80).pixels, expected.pixels)
            << (coloured ? "coloured" : "plain");
    }
}

TEST(Picture, EmptyDrawingGivesAWhitePictureOfTheAskedSize) {
    const Picture picture = RenderPicture(DrawingSnapshot(), 31, 17);
    ASSERT_EQ(picture.width, 31);
    ASSERT_EQ(picture.height, 17);
    for (const std::uint32_t pixel : picture.pixels) {
        ASSERT_EQ(pixel, kWhite);
    }
}

// Pixels of a small image, all 0 at first.
struct Canvas {
    explicit Canvas(int size) : words(static_cast<std::size_t>(size * size)), image{} {
        image = kafcad::PixelImage{words.data(), size, size, size};
    }
    int Painted() const {
        int count = 0;
        for (const std::uint32_t word : words) {
            count += word != 0 ? 1 : 0;
        }
        return count;
    }
    std::vector<std::uint32_t> words;
    kafcad::PixelImage image;
};

kafcad::ShadedCorner Corner(double x, double y) {
    return kafcad::ShadedCorner{x, y, 10.0f, 20.0f, 30.0f};
}

TEST(ShadeTriangle, TrianglesOfAMeshTileThePixelsExactlyOnce) {
    // A fan of triangles around (8, 8) whose edges pass exactly through pixel centres and
    // corners: every pixel of the 16 x 16 square is painted by exactly one triangle.
    const std::vector<std::pair<double, double>> ring = {{0, 0},   {8, 0},    {16, 0}, {16, 8.5},
                                                         {16, 16}, {7.5, 16}, {0, 16}, {0, 8}};
    Canvas all(16);
    int sum = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const auto [x1, y1] = ring[i];
        const auto [x2, y2] = ring[(i + 1) % ring.size()];
        Canvas one(16);
        kafcad::ShadeTriangle(one.image, Corner(8.5, 8.5), Corner(x1, y1), Corner(x2, y2));
        kafcad::ShadeTriangle(all.image, Corner(8.5, 8.5), Corner(x2, y2), Corner(x1, y1));
        sum += one.Painted();
    }
    EXPECT_EQ(all.Painted(), 256);
    EXPECT_EQ(sum, 256);
    EXPECT_EQ(all.words[0], 0x0A141Eu);
}

TEST(ShadeTriangle, CornersSnapToTheNearest256thHalvesAwayFromZero) {
    // Halves of a 256th, their neighbours one unit in the last place away, and random values:
    // the snapped corner is std::llround of the scaled coordinate, as the edge tests assume.
    std::vector<double> values;
    for (const double half : {0.5, 1.5, 2.5, 255.5, 1000000.5, 2559999999.5}) {
        for (const double sign : {1.0, -1.0}) {
            const double scaled = sign * half;
            values.push_back(scaled);
            values.push_back(std::nextafter(scaled, 0.0));
            values.push_back(std::nextafter(scaled, 2.0 * scaled));
        }
    }
    values.push_back(0.49999999999999994);
    values.push_back(-0.49999999999999994);
    values.push_back(0.0);
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> anywhere(-2.5e9, 2.5e9);
    for (int i = 0; i < 10000; ++i) {
        values.push_back(anywhere(random));
    }
    for (const double scaled : values) {
        const kafcad::SnappedCorner corner = kafcad::SnapCorner(Corner(scaled / 256.0, 3.0));
        ASSERT_FALSE(corner.far) << scaled;
        EXPECT_EQ(corner.x, std::llround(scaled)) << scaled;
        EXPECT_EQ(corner.y, 768);
    }
}

TEST(ShadeTriangle, TrianglesSmallerThanAPixelPaintEachCentreOnceInItsCornersColours) {
    // A jittered grid of vertices 0.7 pixel apart over a 12 x 12 picture and beyond it, each
    // cell split along a random diagonal, the corners given in random order: most triangles hold
    // no pixel centre or one, some two. Each vertex has a colour of its own, except those of the
    // top rows, which share one.
    constexpr int kSize = 12;
    constexpr int kVertices = 22;
    std::mt19937 random(27);
    std::uniform_real_distribution<double> jitter(-0.2, 0.2);
    std::uniform_real_distribution<float> shade(10.0f, 250.0f);
    std::vector<kafcad::ShadedCorner> grid;
    for (int row = 0; row < kVertices; ++row) {
        for (int column = 0; column < kVertices; ++column) {
            const bool flat = row < 6;
            grid.push_back({-0.9 + 0.7 * column + jitter(random), -0.9 + 0.7 * row + jitter(random),
                            flat ? 40.0f : shade(random), flat ? 90.0f : shade(random),
                            flat ? 160.0f : shade(random)});
        }
    }
    const auto snapped = [](double value) { return std::llround(value * 256.0) / 256.0; };
    std::vector<int> paints(kSize * kSize, 0);
    int checked = 0;
    for (int row = 0; row + 1 < kVertices; ++row) {
        for (int column = 0; column + 1 < kVertices; ++column) {
            const int v00 = row * kVertices + column;
            const int v01 = v00 + 1;
            const int v10 = v00 + kVertices;
            const int v11 = v10 + 1;
            const bool slash = random() % 2 == 0;
            const int triangles[2][3] = {{v00, v01, slash ? v10 : v11},
                                         {slash ? v01 : v00, v11, v10}};
            for (const auto& triangle : triangles) {
                kafcad::ShadedCorner c[3] = {grid[triangle[0]], grid[triangle[1]],
                                             grid[triangle[2]]};
                if (random() % 2 == 0) {
                    std::swap(c[1], c[2]);
                }
                Canvas one(kSize);
                kafcad::ShadeTriangle(one.image, c[0], c[1], c[2]);
                const double x0 = snapped(c[0].x), y0 = snapped(c[0].y);
                const double x1 = snapped(c[1].x), y1 = snapped(c[1].y);
                const double x2 = snapped(c[2].x), y2 = snapped(c[2].y);
                const double area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
                for (int i = 0; i < kSize * kSize; ++i) {
                    const std::uint32_t pixel = one.words[static_cast<std::size_t>(i)];
                    if (pixel == 0) {
                        continue;
                    }
                    ++paints[static_cast<std::size_t>(i)];
                    // Barycentric weights of the pixel's centre: all in [0, 1].
                    const double px = i % kSize + 0.5;
                    const double py = i / kSize + 0.5;
                    const double u = ((x1 - px) * (y2 - py) - (y1 - py) * (x2 - px)) / area;
                    const double v = ((x2 - px) * (y0 - py) - (y2 - py) * (x0 - px)) / area;
                    const double t = 1.0 - u - v;
                    ASSERT_GE(std::min({u, v, t}), -1e-12) << i;
                    const int expected[3] = {
                        static_cast<int>(std::lround(u * c[0].red + v * c[1].red + t * c[2].red)),
                        static_cast<int>(
                            std::lround(u * c[0].green + v * c[1].green + t * c[2].green)),
                        static_cast<int>(
                            std::lround(u * c[0].blue + v * c[1].blue + t * c[2].blue))};
                    const int got[3] = {static_cast<int>(pixel >> 16 & 0xFF),
                                        static_cast<int>(pixel >> 8 & 0xFF),
                                        static_cast<int>(pixel & 0xFF)};
                    for (int k = 0; k < 3; ++k) {
                        EXPECT_LE(std::abs(got[k] - expected[k]), 1) << i << " channel " << k;
                    }
                    ++checked;
                }
            }
        }
    }
    for (int i = 0; i < kSize * kSize; ++i) {
        EXPECT_EQ(paints[static_cast<std::size_t>(i)], 1) << i;
    }
    EXPECT_EQ(checked, kSize * kSize);
}

TEST(ShadeTriangle, FlatAndOutsideTrianglesPaintNothing) {
    Canvas canvas(8);
    kafcad::ShadeTriangle(canvas.image, Corner(0, 0), Corner(4, 4), Corner(8, 8));
    kafcad::ShadeTriangle(canvas.image, Corner(-9, -9), Corner(-1, -9), Corner(-1, -1));
    kafcad::ShadeTriangle(canvas.image, Corner(1e12, 0), Corner(4, 4), Corner(0, 8));
    EXPECT_EQ(canvas.Painted(), 0);
}

TEST(DrawLine, HorizontalLineThroughPixelCentresPaintsOneRowFully) {
    Canvas canvas(8);
    kafcad::DrawLine(canvas.image, 0.0, 3.5, 8.0, 3.5, 0x102030, 1.0f);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(canvas.words[static_cast<std::size_t>(3 * 8 + x)], 0x102030u) << x;
    }
    EXPECT_EQ(canvas.Painted(), 8);
    // A line ending at a pixel's centre covers half of that pixel.
    kafcad::DrawLine(canvas.image, 1.5, 5.5, 6.5, 5.5, 0x102030, 1.0f);
    EXPECT_EQ(canvas.words[5 * 8 + 1], 0x081018u);
    EXPECT_EQ(canvas.words[5 * 8 + 3], 0x102030u);
    EXPECT_EQ(canvas.words[5 * 8 + 6], 0x081018u);
    EXPECT_EQ(canvas.Painted(), 14);
    // Far outside the image: nothing, and no endless loop.
    kafcad::DrawLine(canvas.image, -1e9, -5, 1e9, -5, 0xFFFFFF, 1.0f);
    EXPECT_EQ(canvas.Painted(), 14);
}

TEST(DrawLine, LineBetweenRowsSharesItsCoverage) {
    Canvas canvas(8);
    kafcad::DrawLine(canvas.image, 0.5, 4.0, 7.5, 4.0, 0xC8C8C8, 1.0f);
    // Half on row 3, half on row 4.
    EXPECT_EQ(canvas.words[3 * 8 + 4], 0x646464u);
    EXPECT_EQ(canvas.words[4 * 8 + 4], 0x646464u);
}

TEST(FitView, ExtentIsCentredWithAMarginAndAspectKept) {
    kafcad::Extent extent;
    extent.Add(100, 200);
    extent.Add(300, 300);
    const kafcad::ViewTransform view = kafcad::FitView(extent, 1000, 1000);
    // 200 x 100 drawing units in 940 x 940 pixels: 4.7 pixels per unit.
    EXPECT_DOUBLE_EQ(view.scale, 4.7);
    EXPECT_DOUBLE_EQ(view.PixelX(100), 30.0);
    EXPECT_DOUBLE_EQ(view.PixelX(300), 970.0);
    EXPECT_DOUBLE_EQ(view.PixelY(250), 500.0);
    // y goes up.
    EXPECT_LT(view.PixelY(300), view.PixelY(200));
}

TEST(PolylinePath, ArcsAreFollowedAndClosedPolylinesReturnToTheirStart) {
    EntityInfo polyline;
    polyline.type = EntityKind::kPolyline;
    polyline.points = {{0, 0}, {2, 0}};
    polyline.bulges = {1.0, 0.0};  // a half circle, counter-clockwise: below the chord
    polyline.closed = true;
    const std::vector<kafhost::Point2> path = kafcad::PolylinePath(polyline);
    ASSERT_GE(path.size(), 4u);
    EXPECT_EQ(path.front(), (kafhost::Point2{0, 0}));
    EXPECT_EQ(path.back(), (kafhost::Point2{0, 0}));
    double lowest = 0;
    for (const kafhost::Point2& point : path) {
        EXPECT_NEAR(std::hypot(point[0] - 1, point[1]), 1.0, 1e-9);
        lowest = std::min(lowest, point[1]);
    }
    EXPECT_NEAR(lowest, -1.0, 1e-3);

    DrawingSnapshot drawing;
    drawing.entities.push_back(polyline);
    const kafcad::Extent extent = kafcad::DrawingExtent(drawing);
    EXPECT_NEAR(extent.minY, -1.0, 1e-3);
    EXPECT_EQ(extent.maxY, 0.0);
}

}  // namespace
