// The builders of result chains: their node shapes, the values AutoLISP reads from them, and
// what they give when the host cannot make a node. (Triangle lists as users get them are checked
// through kaf-dct and triangulate.)
#include <vector>

#include "geom/triangle.h"
#include "host/result_lists.h"
#include "module_fixture.h"

namespace {

using kafhost::LispValue;

geom::CTriangle MakeTriangle(geom::CVertex p1, geom::CVertex p2, geom::CVertex p3) {
    geom::CTriangle triangle;
    triangle.p1 = p1;
    triangle.p2 = p2;
    triangle.p3 = p3;
    return triangle;
}

LispValue ValueOf(const resbuf* chain) {
    LispValue value;
    std::wstring error;
    EXPECT_TRUE(kafhost::chainToValue(chain, value, &error)) << kafhost::wideToUtf8(error);
    return value;
}

class ResultListsTest : public HostTest {
protected:
    const std::vector<geom::CTriangle> triangles_ = {
        MakeTriangle({0, 0, 1}, {1, 0, 2}, {0, 1, 3}),
        MakeTriangle({0, 1, 3}, {1, 0, 2}, {1, 1, -4.5})};
};

TEST_F(ResultListsTest, NoTrianglesOrNoStringsGiveAnEmptyListThatReadsAsNil) {
    const kafhost::Chain noTriangles(TrianglesToResultList({}));
    EXPECT_EQ(kafhost::chainTypes(noTriangles.get()), (std::vector<short>{RTLB, RTLE}));
    EXPECT_TRUE(ValueOf(noTriangles.get()).isNil());
    const kafhost::Chain noStrings(StringsToResultList({}));
    EXPECT_EQ(kafhost::chainTypes(noStrings.get()), (std::vector<short>{RTLB, RTLE}));
    EXPECT_TRUE(ValueOf(noStrings.get()).isNil());
}

TEST_F(ResultListsTest, StringsBecomeAListOfOwnCopies) {
    std::vector<std::wstring> handles = {L"2A", L"1F3", L""};
    const kafhost::Chain chain(StringsToResultList(handles));
    handles[0] = L"changed";
    EXPECT_EQ(kafhost::chainTypes(chain.get()),
              (std::vector<short>{RTLB, RTSTR, RTSTR, RTSTR, RTLE}));
    EXPECT_EQ(ValueOf(chain.get()),
              LispValue::list(
                  {LispValue::string(L"2A"), LispValue::string(L"1F3"), LispValue::string(L"")}));
}

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
