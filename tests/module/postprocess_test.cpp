// The mesh post-processing functions. kaf-changeMeshColor: the elevation ramp in hue, saturation
// and lightness with truncated and clamped channels. kaf-mergingCoplanarFacesOfSubMesh: the merge
// report that leaves the mesh as it was. (Refused arguments are in the refusal tables; runs
// stopped by a handle that leads to no mesh are with the injected failures.)
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "module_fixture.h"
#include "postprocess/colour.h"

namespace {

using kafhost::LispValue;
using kafhost::Rgb;

constexpr const wchar_t* kFunction = L"kaf-changeMeshColor";

// Primaries are met through the ramps; these are the cases a ramp of this file does not reach.
TEST(ColourConversionTest, NegativeHueWrapsAndGreysConvertBack) {
    EXPECT_NEAR(RgbToHsl({255, 0, 128}).hue, 329.9, 0.1);
    const HslColour grey = RgbToHsl({51, 51, 51});
    EXPECT_EQ(grey.saturation, 0.0);
    EXPECT_NEAR(grey.lightness, 20.0, 1e-12);
    EXPECT_NEAR(HslToRgb(grey).red, 51.0, 1e-9);
}

TEST(ColourConversionTest, ChannelsAreTruncatedThenHeldWithinTheByte) {
    EXPECT_EQ(ColourChannelByte(127.5), 127);
    EXPECT_EQ(ColourChannelByte(99.999999), 99);
    EXPECT_EQ(ColourChannelByte(254.99), 254);
    EXPECT_EQ(ColourChannelByte(255.0), 255);
    EXPECT_EQ(ColourChannelByte(255.7), 255);
    EXPECT_EQ(ColourChannelByte(300.0), 255);
    EXPECT_EQ(ColourChannelByte(-0.7), 0);
    EXPECT_EQ(ColourChannelByte(-510.0), 0);
    EXPECT_EQ(ColourChannelByte(std::numeric_limits<double>::quiet_NaN()), 0);
}

class ColourTest : public ModuleTest {
protected:
    // A mesh with one vertex per elevation, spread along x.
    static std::wstring MeshAt(const std::vector<double>& elevations) {
        std::vector<kafhost::Point3> points;
        for (std::size_t i = 0; i < elevations.size(); ++i) {
            points.push_back({static_cast<double>(i), static_cast<double>(i % 2), elevations[i]});
        }
        return host().addSubDMesh(points, {{0, 1, 2}});
    }
    static LispValue Colour(double r, double g, double b) { return LispValue::point(r, g, b); }
    static kafhost::CallResult Colourise(const std::vector<std::wstring>& meshes, double z1,
                                         double z2, const LispValue& c1, const LispValue& c2) {
        return Call(kFunction,
                    {StringList(meshes), LispValue::real(z1), LispValue::real(z2), c1, c2});
    }
    static std::vector<Rgb> ColoursOf(const std::wstring& mesh) {
        kafhost::EntityInfo info;
        EXPECT_TRUE(host().entityInfo(mesh, info));
        return info.vertexColours;
    }
    static void ExpectColoured(const kafhost::CallResult& result) {
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_FALSE(result.resultSet);
        EXPECT_TRUE(result.value.isNil());
        EXPECT_FALSE(host().meter().shown);
    }
};

// Every mesh of the list, in order, on one ramp.
TEST_F(ColourTest, RedToBlueRampPassesYellowAndGreenAndSaturatesBeyondItsEnds) {
    const std::wstring mesh = MeshAt({0, 25, 50, 100, 150, -50});
    const std::wstring high = MeshAt({100, 100, 100, 100});
    const auto result = Colourise({mesh, high}, 0.0, 100.0, Colour(255, 0, 0), Colour(0, 0, 255));
    ExpectColoured(result);
    EXPECT_EQ(result.printed,
              L"\rMesh: 1 of 2, Number of vertices: 6\rMesh: 2 of 2, Number of vertices: 4");
    EXPECT_EQ(ColoursOf(mesh),
              (std::vector<Rgb>{
                  {255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 0}, {0, 0, 255}}));
    EXPECT_EQ(ColoursOf(high), std::vector<Rgb>(4, {0, 0, 255}));
}

// Colour parts are not checked against 0 ... 255: finite ones beyond are taken, and the blend's
// channels are held within the byte.
TEST_F(ColourTest, FiniteColourPartsBeyondTheByteAreTaken) {
    const std::wstring mesh = MeshAt({0, 50, 100});
    ExpectColoured(Colourise({mesh}, 0.0, 100.0, Colour(-50, 300, 1e300), Colour(0, 0, 255)));
    EXPECT_EQ(ColoursOf(mesh), (std::vector<Rgb>{{0, 0, 255}, {255, 255, 255}, {0, 0, 0}}));
}

using MergeTest = ModuleTest;

TEST_F(MergeTest, SubdivisionMeshIsReportedWithNoFacesMergedAndLeftUnchanged) {
    const std::wstring mesh =
        host().addSubDMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
    const kafhost::DrawingSnapshot before = host().snapshot();
    const auto result = Call(L"kaf-mergingCoplanarFacesOfSubMesh",
                             {LispValue::string(mesh), LispValue::integer(1)});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_TRUE(result.resultSet);
    EXPECT_TRUE(result.value.isNil());
    EXPECT_EQ(result.printed, L"\n0 faces merged.");
    const kafhost::DrawingSnapshot after = host().snapshot();
    ASSERT_EQ(after.entities.size(), 1u);
    EXPECT_EQ(after.entities[0].vertices, before.entities[0].vertices);
    EXPECT_EQ(after.entities[0].faces, before.entities[0].faces);
}

}  // namespace
