// 3D polylines in the picture: drawn as lines by their plan positions, over the meshes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/picture/render_top_view.h"
#include "png_reader.h"

namespace {

TEST(Polyline3dPicture, KerbIsDrawnRedByItsPlanPositionsOverTheMesh) {
    kafhost::DrawingSnapshot drawing;
    kafhost::EntityInfo square;
    square.type = L"AcDbSubDMesh";
    square.vertices = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    square.faces = {{0, 1, 2}, {0, 2, 3}};
    drawing.entities.push_back(square);
    kafhost::EntityInfo kerb;
    kerb.type = L"AcDb3dPolyline";
    kerb.vertices = {{2, 2, 50}, {5, 2, -7}, {8, 2, 3}};
    drawing.entities.push_back(kerb);

    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kafcad_kerb_" + std::to_string(::getpid()) + ".png"))
                                 .string();
    kafcad::RenderTopView(drawing, path, 100, 100);
    const Picture picture = ReadPng(path);
    std::filesystem::remove(path);
    // The square fills the picture less its margins; the kerb along y = 2 is row 77.6.
    for (const int x : {25, 50, 75}) {
        const std::uint32_t pixel = picture.At(x, 77);
        EXPECT_GT(pixel >> 16 & 0xFF, 150u) << x;
        EXPECT_LT(pixel & 0xFF, 100u) << x;
    }
    EXPECT_EQ(picture.At(50, 50) >> 16 & 0xFF, picture.At(50, 50) & 0xFF);  // grey off the kerb
}

}  // namespace
