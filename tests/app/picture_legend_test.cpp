// The picture's legend of elevation colours, its scale bar, and layers that are off or frozen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/picture/elevation_legend.h"
#include "png_reader.h"

namespace {

using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;

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
    mesh.type = L"AcDbSubDMesh";
    mesh.layer = std::move(layer);
    mesh.vertices = {{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 100}, {x, y + side, 100}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    mesh.vertexColors = std::move(colours);
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
    map.type = L"AcDbSubDMesh";
    map.vertices = {{0, 200, -2}, {100, 200, -2}, {100, 300, 2}, {0, 300, 2}, {50, 250, 0}};
    map.faces = {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}};
    map.vertexColors = {
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

TEST(PictureLegend, PlainMeshesAndSmallPicturesHaveNoLegend) {
    DrawingSnapshot plain;
    plain.entities.push_back(Square(0, 0, 100, {}));
    Picture picture = RenderPicture(plain, 400, 300);
    // Fitted to the whole width: the square runs from x 59 to 341, where a panel would be.
    EXPECT_EQ(picture.At(330, 150), 0xDEDEDEu) << Channels(picture.At(330, 150));
    EXPECT_EQ(picture.At(20, 283), kWhite);

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

TEST(RoundStep, IsOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(150, 5), 50);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(1.1, 1), 2);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(0.04, 1), 0.05);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(600, 1), 1000);
    EXPECT_DOUBLE_EQ(kafcad::RoundStep(0, 5), 1);
}

}  // namespace
