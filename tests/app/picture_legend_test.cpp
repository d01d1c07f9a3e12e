// The picture's legend of elevation colours, its scale bar, layers that are off or frozen, and
// layer colours and lineweights, texts and points.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/picture/elevation_legend.h"
#include "png_reader.h"

namespace {

using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

constexpr std::uint32_t kWhite = 0xFFFFFF;

int Red(std::uint32_t pixel) {
    return static_cast<int>(pixel >> 16 & 0xFF);
}
int Blue(std::uint32_t pixel) {
    return static_cast<int>(pixel & 0xFF);
}

// A square of the given side at (x, y), its bottom edge at elevation 0 in bottomColour and its
// top edge at elevation 100 in topColour (or plain when no colours are given).
EntityInfo Square(double x, double y, double side, std::vector<kafhost::Rgb> colours,
                  std::wstring layer = L"0") {
    EntityInfo mesh;
    mesh.type = EntityKind::kSubDMesh;
    mesh.layer = std::move(layer);
    mesh.vertices = {{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 100}, {x, y + side, 100}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    mesh.vertexColours = std::move(colours);
    return mesh;
}

const std::vector<kafhost::Rgb> kRedToBlue = {{255, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 255}};

TEST(PictureLegend, ColouredMeshesGetTheLegendOfTheirElevationsAndAScaleBar) {
    DrawingSnapshot drawing;
    drawing.entities.push_back(Square(0, 0, 100, kRedToBlue));
    const Picture picture = RenderPicture(drawing, 400, 300);
    ASSERT_EQ(picture.width, 400);
    // The view is fitted left of the 110-pixel panel: the square's centre at x 145, not 200.
    const std::uint32_t centre = picture.At(145, 150);
    EXPECT_NEAR(Red(centre), 128, 4) << Channels(centre);
    EXPECT_EQ(picture.At(300, 150), kWhite);
    // The bar (x 302 to 324, from y 48 to 210): blue at 100 on top, red at 0 below.
    const std::uint32_t top = picture.At(313, 52);
    const std::uint32_t bottom = picture.At(313, 205);
    const std::uint32_t middle = picture.At(313, 129);
    EXPECT_GT(Blue(top), 240) << Channels(top);
    EXPECT_GT(Red(bottom), 240) << Channels(bottom);
    EXPECT_NEAR(Red(middle), Blue(middle), 12) << Channels(middle);
    // The scale bar's first quarter is black, its second white, in the bottom left corner.
    EXPECT_EQ(picture.At(20, 283), 0x000000u) << Channels(picture.At(20, 283));
}

// A cut/fill map (white at 0, a straight ramp from white on either side) beside a mesh coloured
// by elevation: two panels, the second the cut/fill legend, cut red on top and fill blue below.
TEST(PictureLegend, CutFillMapsGetALegendOfTheirOwn) {
    DrawingSnapshot drawing;
    drawing.entities.push_back(Square(0, 0, 100, kRedToBlue));
    EntityInfo map;
    map.type = EntityKind::kSubDMesh;
    map.vertices = {{0, 200, -2}, {100, 200, -2}, {100, 300, 2}, {0, 300, 2}, {50, 250, 0}};
    map.faces = {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}};
    map.vertexColours = {
        {30, 90, 200}, {30, 90, 200}, {200, 40, 30}, {200, 40, 30}, {255, 255, 255}};
    drawing.entities.push_back(map);
    EXPECT_TRUE(kafcad::IsCutFillMap(map));
    EXPECT_FALSE(kafcad::IsCutFillMap(drawing.entities[0]));  // red, not white, at 0

    const Picture picture = RenderPicture(drawing, 500, 300);
    // The elevation bar from x 292, the cut/fill bar from x 402, both from y 48 to 210.
    EXPECT_GT(Blue(picture.At(303, 52)), 240) << Channels(picture.At(303, 52));
    const std::uint32_t cut = picture.At(413, 52);
    const std::uint32_t fill = picture.At(413, 205);
    const std::uint32_t zero = picture.At(413, 135);
    EXPECT_GT(Red(cut), Blue(cut) + 100) << Channels(cut);
    EXPECT_GT(Blue(fill), Red(fill) + 100) << Channels(fill);
    EXPECT_GT(Red(zero), 235) << Channels(zero);
    EXPECT_GT(Blue(zero), 235) << Channels(zero);
}

TEST(PictureLegend, PlainMeshesAndSmallPicturesHaveNoLegendButAScaleBar) {
    DrawingSnapshot plain;
    plain.entities.push_back(Square(0, 0, 100, {}));
    Picture picture = RenderPicture(plain, 400, 300);
    // Fitted to the whole width: the square runs from x 59 to 341, where a panel would be.
    EXPECT_EQ(picture.At(330, 150), 0xDEDEDEu) << Channels(picture.At(330, 150));
    // Every picture of 320 x 200 or more has the scale bar.
    EXPECT_EQ(picture.At(20, 283), 0x000000u) << Channels(picture.At(20, 283));

    DrawingSnapshot coloured;
    coloured.entities.push_back(Square(0, 0, 100, kRedToBlue));
    picture = RenderPicture(coloured, 300, 150);
    // Fitted to the whole width: centred at x 150.
    EXPECT_NEAR(Red(picture.At(150, 75)), 128, 4) << Channels(picture.At(150, 75));
}

TEST(PictureLegend, EntitiesOnLayersThatAreOffOrFrozenAreLeftOut) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"HIDDEN", true}};
    drawing.entities.push_back(Square(0, 0, 10, {}));
    // Far away and blue: it would widen the view and show in blue.
    drawing.entities.push_back(
        Square(1000, 1000, 10, {{0, 0, 255}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255}}, L"HIDDEN"));
    const Picture picture = RenderPicture(drawing, 100, 100);
    // The visible square alone fills the view, with no legend for the hidden colours.
    EXPECT_EQ(picture.At(50, 50), 0xDEDEDEu) << Channels(picture.At(50, 50));
    for (const std::uint32_t pixel : picture.pixels) {
        ASSERT_FALSE(Blue(pixel) > 200 && Red(pixel) < 50) << Channels(pixel);
    }
}

// How many pixels of a column between two rows are of the colour (within 60 per channel).
int PixelsLike(const Picture& picture, int x, int fromY, int toY, std::uint32_t colour) {
    int count = 0;
    for (int y = fromY; y <= toY; ++y) {
        const std::uint32_t pixel = picture.At(x, y);
        bool near = true;
        for (int shift : {0, 8, 16}) {
            near = near && std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                                    static_cast<int>((colour >> shift) & 0xFF)) < 60;
        }
        count += near ? 1 : 0;
    }
    return count;
}

TEST(PictureLayers, EntitiesTakeTheirOwnOrTheirLayersColourAndLineweightAndTextsAreDrawn) {
    DrawingSnapshot drawing;
    kafhost::LayerInfo minor{L"MINOR", false};
    minor.colorIndex = 5;  // blue
    kafhost::LayerInfo major{L"MAJOR", false};
    major.trueColor = 0x00A000;
    major.lineweight = 100;  // 1 mm: four times the default width
    drawing.layers = {{L"0", false}, minor, major};
    EntityInfo line;
    line.type = EntityKind::kPolyline;
    line.layer = L"MINOR";
    line.points = {{0, 20}, {100, 20}};
    drawing.entities.push_back(line);
    line.layer = L"MAJOR";
    line.points = {{0, 60}, {100, 60}};
    drawing.entities.push_back(line);
    line.layer = L"MINOR";  // a colour of its own wins over the layer's
    line.trueColor = 0xFF00FF;
    line.points = {{0, 40}, {100, 40}};
    drawing.entities.push_back(line);
    line.trueColor = -1;
    line.layer = L"0";  // the default colour: the kind's own red
    line.points = {{0, 100}, {100, 100}};
    drawing.entities.push_back(line);
    EntityInfo text;
    text.type = EntityKind::kText;
    text.layer = L"0";
    text.text = L"888";
    text.position = {40, 80, 0};
    text.height = 10;
    drawing.entities.push_back(text);
    const Picture picture = RenderPicture(drawing, 400, 400);
    // Fitted at 3.76 pixels a unit about (50, 60): y 20 at row 350, 60 at 200, 100 at 50.
    const int minorWidth = PixelsLike(picture, 150, 340, 360, 0x0000FF);
    const int majorWidth = PixelsLike(picture, 150, 186, 214, 0x00A000);
    EXPECT_GE(minorWidth, 1);
    EXPECT_LE(minorWidth, 3);
    EXPECT_GE(majorWidth, 4 * minorWidth - 1);
    EXPECT_GE(PixelsLike(picture, 150, 42, 58, 0xCC1A1A), 1);
    EXPECT_GE(PixelsLike(picture, 150, 268, 282, 0xFF00FF), 1);
    EXPECT_EQ(PixelsLike(picture, 150, 268, 282, 0x0000FF), 0);
    // The text's letters, near black, from x 40 (column 162) between its baseline (y 80, row
    // 125) and its height above it (row 87); nothing beyond the three letters.
    int dark = 0;
    for (int x = 165; x < 245; ++x) {
        dark += PixelsLike(picture, x, 88, 124, 0x141414);
    }
    EXPECT_GT(dark, 300);
    EXPECT_EQ(PixelsLike(picture, 300, 88, 124, 0x141414), 0);
}

TEST(RoundStep, IsOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(150, 5), 50);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(1.1, 1), 2);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(0.04, 1), 0.05);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(600, 1), 1000);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(0, 5), 1);
}

}  // namespace
