// Failing host calls met by the surface functions: the stand-in host makes exactly one guarded
// host call fail once. The function must print the step line of that call, end with nil, leave
// nothing open (Call checks), no meter shown, and the drawing as it was: a contour writer that
// fails after some polylines are in the drawing takes them out again. Memory: one chosen
// allocation is refused, and the function ends on the module's own path with "Not enough memory".
#include <string>
#include <vector>

#include "geom/vertex.h"
#include "lookup_steps.h"
#include "support/error_lines.h"
#include "support/refused_allocation.h"
#include "surface_fixture.h"

namespace {

using kafhost::CallResult;
using kafhost::EntityInfo;
using kafhost::HostCall;
using kafhost::LispValue;

// An unusual status, so that a line showing its text shows the status the host gave.
constexpr Acad::ErrorStatus kInjected = Acad::eLockViolation;

class SurfaceFailureTest : public SurfaceTest {
protected:
    // Checks the failed call and that the drawing's live entities are those of before.
    static void ExpectNothingWritten(const CallResult& result, const std::wstring& printed,
                                     const std::vector<EntityInfo>& before) {
        ExpectFailedWithNil(result, printed);
        const std::vector<EntityInfo> now = LiveEntities();
        ASSERT_EQ(now.size(), before.size());
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_EQ(now[i].handle, before[i].handle);
            EXPECT_EQ(now[i].vertices, before[i].vertices);
        }
        EXPECT_FALSE(host().meter().shown);
        EXPECT_EQ(host().registeredFilterCount(), 0u);
    }
};

struct WriterStep {
    HostCall call;
    int occurrence;  // counted from the call's start: the mesh lookup opens model space first
    const wchar_t* step;
};

TEST_F(SurfaceFailureTest, ContourWriterLeavesNoPolylineBehind) {
    // Three lines; the second is major, on its own layer.
    const WriterStep steps[] = {
        {HostCall::kGetSymbolTable, 2, L"CreateContourPolylines:getSymbolTable"},
        {HostCall::kBlockTableGetAt, 2, L"CreateContourPolylines:getAt"},
        {HostCall::kSetLayer, 1, L"CreateContourPolylines:setLayer"},
        {HostCall::kSetLayer, 2, L"CreateContourPolylines:setLayer"},
        {HostCall::kAppendAcDbEntity, 1, L"CreateContourPolylines:appendAcDbEntity"},
        {HostCall::kAppendAcDbEntity, 3, L"CreateContourPolylines:appendAcDbEntity"},
    };
    for (const WriterStep& step : steps) {
        SCOPED_TRACE(kafhost::wideToUtf8(step.step) + " at " + std::to_string(step.occurrence));
        host().reset();
        ASSERT_TRUE(host().addLayer(L"CONTOUR"));
        ASSERT_TRUE(host().addLayer(L"MAJOR"));
        const std::wstring pyramid = Pyramid();
        const std::vector<EntityInfo> before = LiveEntities();
        host().failCall(step.call, step.occurrence, kInjected);
        const CallResult result =
            Call(L"kaf-contours", {StringList({pyramid}), LispValue::real(2.5),
                                   LispValue::real(0.0), LispValue::string(L"CONTOUR"),
                                   LispValue::integer(2), LispValue::string(L"MAJOR")});
        ExpectNothingWritten(result, StepLine(step.step, kInjected), before);
        EXPECT_EQ(host().callCount(step.call), static_cast<std::size_t>(step.occurrence));
    }
}

TEST_F(SurfaceFailureTest, FailedLookupNamesItsStepThenTheMesh) {
    for (const LookupStep& lookup : kLookupSteps) {
        SCOPED_TRACE(kafhost::wideToUtf8(lookup.step));
        host().reset();
        const std::wstring existing = Pyramid();
        const std::wstring design = Plane(0.0, 0.0);
        const std::vector<EntityInfo> before = LiveEntities();
        // The second lookup: the design's mesh.
        host().failCall(lookup.call, 2, kInjected);
        ExpectNothingWritten(
            Call(L"kaf-volume", {StringList({existing}), StringList({design})}),
            StepLine(std::wstring(L"GetEntity:") + lookup.step, kInjected) +
                Aborted(L"volume", L"Object " + design + L" is not a SubDMesh or PolyFaceMesh!"),
            before);
    }
}

TEST_F(SurfaceFailureTest, MemoryShortageEndsWithTheMemoryText) {
    if (kRefusalMissesTheModule != nullptr) {
        GTEST_SKIP() << kRefusalMissesTheModule;
    }
    // Reading the mesh takes room for exactly its 1234 vertices at once.
    std::vector<kafhost::Point3> vertices;
    for (int i = 0; i < 1234; ++i) {
        vertices.push_back({static_cast<double>(i), static_cast<double>(i % 2), i % 7 * 1.0});
    }
    const std::wstring mesh = host().addSubDMesh(vertices, {{0, 1, 2}});
    const std::vector<EntityInfo> before = LiveEntities();
    CallResult result;
    {
        const RefusedAllocation refused(vertices.size() * sizeof(geom::CVertex));
        result = Call(L"kaf-contours", {StringList({mesh}), LispValue::real(0.5),
                                        LispValue::real(0.0), LispValue::nil()});
    }
    ExpectNothingWritten(result, L"Not enough memory\n", before);
}

}  // namespace
