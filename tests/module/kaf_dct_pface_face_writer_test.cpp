// kaf-dct-pface as a user calls it: one 3D face per triangle of kaf-dct's triangulation, T as the
// result; the triangulator's text and nil when it fails; a face whose host call fails is skipped.
#include <string>
#include <vector>

#include "mesh_writer_checks.h"
#include "module_fixture.h"

namespace {

using kafhost::EntityInfo;
using kafhost::HostCall;
using kafhost::LispValue;

class KafDctPfaceTest : public ModuleTest {
protected:
    // A 3 by 2 grid with elevations: four triangles.
    static LispValue Grid() {
        return PointList({{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 4}, {1, 1, 5}, {2, 1, 6}});
    }

    // The faces kaf-dct-pface must write: kaf-dct's triangles, fourth corner equal to the third.
    static std::vector<std::vector<kafhost::Point3>> ExpectedCorners(const LispValue& points) {
        const kafhost::CallResult triangles = Call(L"kaf-dct", {points});
        EXPECT_EQ(triangles.status, RSRSLT);
        std::vector<std::vector<kafhost::Point3>> faces;
        for (const LispValue& triangle : triangles.value.items()) {
            std::vector<kafhost::Point3> corners;
            for (const LispValue& p : triangle.items()) {
                corners.push_back(
                    {p.items()[0].asReal(), p.items()[1].asReal(), p.items()[2].asReal()});
            }
            corners.push_back(corners.back());
            faces.push_back(corners);
        }
        host().reset();
        return faces;
    }

    static std::vector<std::vector<kafhost::Point3>> DrawingFaces() {
        std::vector<std::vector<kafhost::Point3>> faces;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            EXPECT_EQ(entity.type, L"AcDbFace");
            EXPECT_EQ(entity.layer, L"0");
            for (bool visible : entity.edgeVisible) {
                EXPECT_TRUE(visible);
            }
            faces.push_back(entity.corners);
        }
        return faces;
    }
};

TEST_F(KafDctPfaceTest, WritesOneFacePerTriangleAndGivesT) {
    const auto expected = ExpectedCorners(Grid());
    ASSERT_EQ(expected.size(), 4u);
    const kafhost::CallResult result = Call(L"kaf-dct-pface", {Grid()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.value, LispValue::t());
    EXPECT_EQ(result.printed, L"");
    EXPECT_EQ(DrawingFaces(), expected);
}

TEST_F(KafDctPfaceTest, FaceWhoseHostCallFailsIsSkippedSilently) {
    // Model space is opened once per face, so the k-th call belongs to the k-th triangle.
    const auto all = ExpectedCorners(Grid());
    ASSERT_EQ(all.size(), 4u);
    struct Failure {
        HostCall call;
        int face;
    };
    for (const Failure& failure :
         {Failure{HostCall::kGetSymbolTable, 1}, Failure{HostCall::kBlockTableGetAt, 3},
          Failure{HostCall::kAppendAcDbEntity, 4}}) {
        SCOPED_TRACE(failure.face);
        host().reset();
        host().failCall(failure.call, failure.face, Acad::eOutOfMemory);
        const kafhost::CallResult result = Call(L"kaf-dct-pface", {Grid()});
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_EQ(result.value, LispValue::t());
        EXPECT_EQ(result.printed, L"");
        auto expected = all;
        expected.erase(expected.begin() + (failure.face - 1));
        EXPECT_EQ(DrawingFaces(), expected);
    }
}

}  // namespace
