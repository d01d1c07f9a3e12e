// The builders of result chains when the host cannot make a node. (Triangle and handle lists as
// users get them are checked through kaf-dct, triangulate and the mesh functions.)
#include <vector>

#include "geom/triangle.h"
#include "host/result_lists.h"
#include "module_fixture.h"

namespace {

geom::CTriangle MakeTriangle(geom::CVertex p1, geom::CVertex p2, geom::CVertex p3) {
    geom::CTriangle triangle;
    triangle.p1 = p1;
    triangle.p2 = p2;
    triangle.p3 = p3;
    return triangle;
}

class ResultListsTest : public HostTest {
protected:
    const std::vector<geom::CTriangle> triangles_ = {
        MakeTriangle({0, 0, 1}, {1, 0, 2}, {0, 1, 3}),
        MakeTriangle({0, 1, 3}, {1, 0, 2}, {1, 1, -4.5})};
};

TEST_F(ResultListsTest, NodeTheHostCannotMakeGivesNoChain) {
    // 12 nodes for two triangles, 5 for three strings: every one of them may be the one missing.
    for (int failing = 1; failing <= 12; ++failing) {
        host().failCall(kafhost::HostCall::kAcutNewRb, failing);
        EXPECT_EQ(TrianglesToResultList(triangles_), nullptr) << "node " << failing;
        host().clearFaults();
    }
    for (int failing = 1; failing <= 5; ++failing) {
        host().failCall(kafhost::HostCall::kAcutNewRb, failing);
        EXPECT_EQ(StringsToResultList({L"2A", L"2B", L"2C"}), nullptr) << "node " << failing;
        host().clearFaults();
    }
}

}  // namespace
