// Failing host calls, met as users meet them: the stand-in host makes exactly one guarded host
// call fail once, and the AutoLISP function that made it must print the step line of that call,
// end with its documented result, leave nothing open (Call checks) and keep everything that was
// in the drawing before, including the meshes it completed itself.
//
// Mesh writers: every function that writes meshes (from a point list, with lines, from point
// files and from the vertices inside an outline), with its single and its splitting writer, for
// every call the writer guards, at the first and at a later mesh. Lookups by handle: every step of
// the lookup in the outline search, in the line reading, in the colouring, in the merging and in
// the surface functions; the lookup itself on paper-space, erased and unknown handles. Colouring:
// the host calls whose results it does not examine. Contours: a writer that fails takes out the
// polylines it wrote.
//
// Memory: one chosen allocation of the module is refused (RefusedAllocation); no exception may
// leave the function, which ends on its own path with the triangulator's memory texts or "Not
// enough memory".
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "geom/dct/dct_point_store.h"
#include "geom/kernel/vertex.h"
#include "input/entity_lookup.h"
#include "mesh_writer_checks.h"
#include "module_fixture.h"
#include "support/error_lines.h"
#include "support/files.h"
#include "support/refused_allocation.h"
#include "surface_fixture.h"

namespace {

using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::HostCall;
using kafhost::LispValue;
using kafhost::Point3;
using kafhost::Rgb;

// The guarded host calls of the entity lookup by handle, in the order it makes them, each with the
// name its step line gives it ("GetEntity:<step>").
struct LookupStep {
    kafhost::HostCall call;
    const wchar_t* step;
};

constexpr LookupStep kLookupSteps[] = {
    {kafhost::HostCall::kGetAcDbObjectId, L"getAcDbObjectId"},
    {kafhost::HostCall::kGetSymbolTable, L"getSymbolTable"},
    {kafhost::HostCall::kBlockTableGetAt, L"getAt"},
    {kafhost::HostCall::kNewIterator, L"newIterator"},
    {kafhost::HostCall::kIteratorSeek, L"seek"},
    {kafhost::HostCall::kIteratorGetEntity, L"getEntity"},
};

// An unusual status, so that a line showing its text shows the status the host gave.
constexpr Acad::ErrorStatus kInjected = Acad::eLockViolation;

std::vector<EntityInfo> DrawingEntities() {
    return kafhost::Host::instance().snapshot().entities;
}

// The drawing's entities begin with the ones given, unchanged.
void ExpectStillInTheDrawing(const std::vector<EntityInfo>& before) {
    const std::vector<EntityInfo> now = DrawingEntities();
    ASSERT_GE(now.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE("entity " + kafhost::wideToUtf8(before[i].handle));
        EXPECT_EQ(now[i].handle, before[i].handle);
        EXPECT_EQ(now[i].type, before[i].type);
        EXPECT_EQ(now[i].layer, before[i].layer);
        EXPECT_EQ(now[i].erased, before[i].erased);
        EXPECT_EQ(now[i].vertices, before[i].vertices);
        EXPECT_EQ(now[i].faces, before[i].faces);
        EXPECT_EQ(now[i].vertexColours, before[i].vertexColours);
        EXPECT_EQ(now[i].corners, before[i].corners);
        EXPECT_EQ(now[i].points, before[i].points);
    }
}

// ---- Mesh writers, through the functions that call them ----

enum class PointSource { kPointList, kPointFiles, kOutline, kLines };

struct MeshFunction {
    const wchar_t* name;
    PointSource source;
    bool polyface;  // polyface mesh writers, else subdivision mesh writers
};

const MeshFunction kMeshFunctions[] = {
    {L"kaf-dct-pfacemesh", PointSource::kPointList, true},
    {L"kaf-dct-subdmesh", PointSource::kPointList, false},
    {L"kaf-dct-pfacemesh-withloadcsv", PointSource::kPointFiles, true},
    {L"kaf-dct-subdmesh-withloadcsv", PointSource::kPointFiles, false},
    {L"kaf-dct-subdmesh-aa", PointSource::kOutline, false},
    {L"kaf-cdt-pfacemesh", PointSource::kLines, true},
    {L"kaf-cdt-subdmesh", PointSource::kLines, false},
};

// A guarded call of a writer: the host call, whether it is the splitting writer's, the mesh at
// whose making it fails (calls made once per writer fail at mesh 1) and the step line's name.
struct WriterStep {
    HostCall call;
    bool split;
    int mesh;
    const wchar_t* step;
};

const WriterStep kPolyFaceSteps[] = {
    {HostCall::kGetSymbolTable, false, 1, L"CreatePFaceMesh:1"},
    {HostCall::kBlockTableGetAt, false, 1, L"CreatePFaceMesh:2"},
    {HostCall::kSetLayer, false, 1, L"CreatePFaceMesh:3"},
    {HostCall::kAppendAcDbEntity, false, 1, L"CreatePFaceMesh:4"},
    {HostCall::kGetSymbolTable, true, 1, L"CreateSplittedPFaceMesh:1"},
    {HostCall::kBlockTableGetAt, true, 1, L"CreateSplittedPFaceMesh:2"},
    {HostCall::kSetLayer, true, 1, L"CreateSplittedPFaceMesh:3"},
    {HostCall::kAppendAcDbEntity, true, 1, L"CreateSplittedPFaceMesh:4"},
    {HostCall::kSetLayer, true, 3, L"CreateSplittedPFaceMesh:3"},
    {HostCall::kAppendAcDbEntity, true, 3, L"CreateSplittedPFaceMesh:4"},
};

const WriterStep kSubDSteps[] = {
    {HostCall::kGetSymbolTable, false, 1, L"CreateSubDMesh:getSymbolTable"},
    {HostCall::kBlockTableGetAt, false, 1, L"CreateSubDMesh:getAt"},
    {HostCall::kSetLayer, false, 1, L"CreateSubDMesh:setLayer"},
    {HostCall::kSetSubDMesh, false, 1, L"CreateSubDMesh:setSubDMesh"},
    {HostCall::kAppendAcDbEntity, false, 1, L"CreateSubDMesh:appendAcDbEntity"},
    {HostCall::kGetSymbolTable, true, 1, L"CreateSubDMesh:getSymbolTable"},
    {HostCall::kBlockTableGetAt, true, 1, L"CreateSubDMesh:getAt"},
    {HostCall::kSetLayer, true, 1, L"CreateSubDMesh:setLayer"},
    {HostCall::kSetSubDMesh, true, 1, L"CreateSubDMesh:setSubDMesh"},
    {HostCall::kAppendAcDbEntity, true, 1, L"CreateSubDMesh:appendAcDbEntity"},
    {HostCall::kSetLayer, true, 3, L"CreateSubDMesh:setLayer"},
    {HostCall::kSetSubDMesh, true, 3, L"CreateSubDMesh:setSubDMesh"},
    {HostCall::kAppendAcDbEntity, true, 3, L"CreateSubDMesh:appendAcDbEntity"},
};

bool OpensModelSpace(HostCall call) {
    return call == HostCall::kGetSymbolTable || call == HostCall::kBlockTableGetAt;
}

class MeshWriterFailureTest : public ModuleTest {
protected:
    // 12 points in general position; with at most 5 vertices per mesh the splitting writers
    // announce ceil(12 / 3) = 4 meshes and make more than 3.
    static constexpr int kPoints = 12;
    static constexpr int kSingleMaximum = 100;
    static constexpr int kSplitMaximum = 5;

    void SetUp() override {
        ModuleTest::SetUp();
        host().setMessageBoxEcho(false);
    }

    // Prepares a drawing holding a 3D face that has nothing to do with the call, the layer
    // "TIN" and whatever the function reads its points from; gives the function's arguments.
    std::vector<LispValue> Prepare(const MeshFunction& function, int maximum) {
        host().reset();
        host().addFace({-50, -50, 0}, {-40, -50, 0}, {-50, -40, 0}, {-50, -40, 0});
        EXPECT_TRUE(host().addLayer(L"TIN"));
        const std::vector<Point3> points = ScatteredPoints(kPoints);
        switch (function.source) {
            case PointSource::kPointList:
                return {PointListOf(points), LispValue::string(L"TIN"),
                        LispValue::integer(maximum)};
            case PointSource::kPointFiles: {
                std::ostringstream rows;
                rows.precision(17);
                for (const Point3& p : points) {
                    rows << p[0] << ';' << p[1] << ';' << p[2] << '\n';
                }
                return {StringList({files_.Write("points.csv", rows.str()).wstring()}),
                        LispValue::string(L";"),
                        LispValue::string(L"TIN"),
                        LispValue::real(0.0),
                        LispValue::real(0.0),
                        LispValue::real(1.0),
                        LispValue::integer(maximum)};
            }
            case PointSource::kLines: {
                // A kerb between two of the points: the same vertices, one more lookup.
                const std::wstring kerb = host().add3dPolyline({points[0], points[1]}, false);
                return {PointListOf(points),        StringList({kerb}),   LispValue::nil(),
                        LispValue::nil(),           LispValue::real(0.0), LispValue::string(L"TIN"),
                        LispValue::integer(maximum)};
            }
            case PointSource::kOutline:
                break;
        }
        const std::wstring outline =
            host().addPolyline({{-1, -1}, {1001, -1}, {1001, 1001}, {-1, 1001}}, 0.0, true);
        const std::wstring mesh = host().addSubDMesh(points, {{0, 1, 2}});
        return {LispValue::string(outline), StringList({mesh}), LispValue::string(L"TIN"),
                LispValue::integer(maximum), LispValue::real(0.0)};
    }

    // What the function prints before its writer starts.
    static std::wstring PrintedBeforeWriter(const MeshFunction& function) {
        if (function.source != PointSource::kPointFiles) {
            return L"\nStart Calculation...ready after 0.000000 seconds\n";
        }
        return L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... finished"
               L"\nVertex count: " +
               std::to_wstring(kPoints) + L"\nStart Calculation ... ready after 0.000000 seconds" +
               (function.polyface ? L"\n" : L"");
    }

    // What the writer prints before the step line of the failing call.
    static std::wstring PrintedByWriter(const MeshFunction& function, const WriterStep& step) {
        std::wstring printed;
        if (!function.polyface) {
            if (!step.split) {
                printed = L"\nCreate Mesh ... ";
            } else if (!OpensModelSpace(step.call)) {
                printed = L"\n";
            }
        }
        if (!step.split) {
            return printed;
        }
        // A mesh is announced after its layer is set and before it is filled and appended.
        const int announced = step.call == HostCall::kSetLayer ? step.mesh - 1 : step.mesh;
        for (int mesh = 1; mesh <= announced && !OpensModelSpace(step.call); ++mesh) {
            printed += std::wstring(function.polyface ? L"\rPolyFaceMesh " : L"\rMesh ") +
                       std::to_wstring(mesh) + L"/min4 will be created...";
        }
        return printed;
    }

    // The outline search and the line reading open the block table and model space once per
    // entity they look up before the writer opens them.
    static int Occurrence(const MeshFunction& function, const WriterStep& step) {
        const int lookups = function.source == PointSource::kOutline ? 2
                            : function.source == PointSource::kLines ? 1
                                                                     : 0;
        return OpensModelSpace(step.call) ? lookups + 1 : step.mesh;
    }

    void ExpectWriterFailure(const MeshFunction& function, const WriterStep& step) {
        SCOPED_TRACE(kafhost::wideToUtf8(std::wstring(function.name) + L" " + step.step +
                                         L" at mesh " + std::to_wstring(step.mesh)));
        const std::vector<LispValue> args =
            Prepare(function, step.split ? kSplitMaximum : kSingleMaximum);
        const std::vector<EntityInfo> before = DrawingEntities();
        host().failCall(step.call, Occurrence(function, step), kInjected);

        // A text thrown by setSubDMesh is reported with the status of the last successful step.
        const Acad::ErrorStatus shown = step.call == HostCall::kSetSubDMesh ? Acad::eOk : kInjected;
        ExpectFailedWithNil(Call(function.name, args), PrintedBeforeWriter(function) +
                                                           PrintedByWriter(function, step) +
                                                           StepLine(step.step, shown));

        ExpectStillInTheDrawing(before);
        const std::vector<EntityInfo> now = DrawingEntities();
        ASSERT_EQ(now.size(), before.size() + static_cast<std::size_t>(step.mesh - 1));
        for (std::size_t i = before.size(); i < now.size(); ++i) {
            EXPECT_EQ(now[i].type,
                      function.polyface ? EntityKind::kPolyFaceMesh : EntityKind::kSubDMesh);
            EXPECT_EQ(now[i].layer, L"TIN");
            EXPECT_FALSE(now[i].faces.empty());
        }
    }

    TempFolder files_;
};

TEST_F(MeshWriterFailureTest, TriangulatorWithoutMemoryForItsPointsEndsEveryFunctionWithItsText) {
    if (kRefusalMissesTheModule != nullptr) {
        GTEST_SKIP() << kRefusalMissesTheModule;
    }
    // The triangulator takes room for its first 50,000 points when it is made.
    const std::size_t firstRoom = geom::DctPointStore::kBlockBytes;
    const std::wstring text = L"Couldn't allocate enough memory!\n";
    for (const MeshFunction& function : kMeshFunctions) {
        if (function.source == PointSource::kLines) {
            continue;  // the refused size is the first room of the other triangulator
        }
        SCOPED_TRACE(kafhost::wideToUtf8(function.name));
        const std::vector<LispValue> args = Prepare(function, kSingleMaximum);
        const std::vector<EntityInfo> before = DrawingEntities();
        kafhost::CallResult result;
        {
            const RefusedAllocation refused(firstRoom);
            result = Call(function.name, args);
        }
        EXPECT_EQ(result.status, RSERR);
        EXPECT_FALSE(result.resultSet);
        ASSERT_GE(result.printed.size(), text.size());
        EXPECT_EQ(result.printed.substr(result.printed.size() - text.size()), text);
        EXPECT_EQ(DrawingEntities().size(), before.size());
        EXPECT_FALSE(host().meter().shown);
    }
    for (const wchar_t* name : {L"kaf-dct", L"kaf-dct-pface"}) {
        SCOPED_TRACE(kafhost::wideToUtf8(name));
        const std::vector<LispValue> args = {Prepare(kMeshFunctions[0], kSingleMaximum)[0]};
        const std::vector<EntityInfo> before = DrawingEntities();
        kafhost::CallResult result;
        {
            const RefusedAllocation refused(firstRoom);
            result = Call(name, args);
        }
        ExpectFailedWithNil(result, text);
        EXPECT_EQ(DrawingEntities().size(), before.size());
    }
}

TEST_F(MeshWriterFailureTest, PointFileLineTooLongForTheMemoryLeftEndsTheCallWithNil) {
    if (kRefusalMissesTheModule != nullptr) {
        GTEST_SKIP() << kRefusalMissesTheModule;
    }
    // The reader holds a line in a buffer of 1 MiB, which doubles for a longer line.
    const std::wstring file =
        files_.Write("long.csv", "0;0;1\n5;" + std::string(1500000, ' ') + "0;2\n0;5;3\n")
            .wstring();
    for (const wchar_t* name :
         {L"kaf-dct-pfacemesh-withloadcsv", L"kaf-dct-subdmesh-withloadcsv"}) {
        SCOPED_TRACE(kafhost::wideToUtf8(name));
        host().reset();
        kafhost::CallResult result;
        {
            const RefusedAllocation refused(std::size_t{2} << 20);
            result = Call(name, {StringList({file}), LispValue::string(L";"), LispValue::nil(),
                                 LispValue::real(0.0), LispValue::real(0.0), LispValue::real(1.0)});
        }
        ExpectFailedWithNil(result,
                            L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... "
                            L"Not enough memory\n");
        EXPECT_TRUE(DrawingEntities().empty());
        EXPECT_FALSE(host().meter().shown);
        EXPECT_EQ(host().registeredFilterCount(), 0u);
    }
}

TEST_F(MeshWriterFailureTest, PolyFaceMeshWritersEndTheCallWithNilAfterTheirStepLine) {
    for (const MeshFunction& function : kMeshFunctions) {
        if (function.polyface) {
            for (const WriterStep& step : kPolyFaceSteps) {
                ExpectWriterFailure(function, step);
            }
        }
    }
}

TEST_F(MeshWriterFailureTest, SubDMeshWritersEndTheCallWithNilAfterTheirStepLine) {
    for (const MeshFunction& function : kMeshFunctions) {
        if (!function.polyface) {
            for (const WriterStep& step : kSubDSteps) {
                ExpectWriterFailure(function, step);
            }
        }
    }
}

// ---- Lookups by handle ----

class LookupFailureTest : public SurfaceTest {
protected:
    static std::wstring Mesh(double z) {
        return host().addSubDMesh({{0, 0, z}, {4, 0, z}, {0, 4, z}}, {{0, 1, 2}});
    }
    static std::vector<Rgb> ColoursOf(const std::wstring& mesh) {
        EntityInfo info;
        EXPECT_TRUE(host().entityInfo(mesh, info));
        return info.vertexColours;
    }
    static kafhost::CallResult Colour(const std::vector<std::wstring>& meshes) {
        return Call(L"kaf-changeMeshColor",
                    {StringList(meshes), LispValue::real(0.0), LispValue::real(10.0),
                     LispValue::point(255, 0, 0), LispValue::point(0, 0, 255)});
    }
};

// A lookup that fails at each of its steps, in the outline search (the polyline is looked up
// first, then the meshes in list order), the line reading, the merging function and the volume
// (the design's mesh is the second lookup): the call names the step, then the object it wanted,
// and the drawing stays as it was.
TEST_F(LookupFailureTest, FailedLookupNamesItsStepThenTheObjectAndChangesNothing) {
    struct Case {
        const wchar_t* function;
        std::vector<LispValue> args;
        int occurrence;
        std::wstring printed;  // after the step line
    };
    const auto outline = [](int occurrence) {
        const std::wstring polyline =
            host().addPolyline({{-1, -1}, {10, -1}, {10, 10}, {-1, 10}}, 0.0, true);
        const LispValue meshes = StringList({Mesh(1.0), Mesh(2.0)});
        return Case{L"kaf-dct-subdmesh-aa",
                    {LispValue::string(polyline), meshes, LispValue::nil(), LispValue::integer(100),
                     LispValue::real(0.5)},
                    occurrence,
                    Aborted(L"add_points_aa", occurrence == 1 ? L"Object is not a LWPolyline!"
                                                              : L"Object is not a SubDMesh!")};
    };
    const std::function<Case()> cases[] = {
        [&] { return outline(1); },
        [&] { return outline(3); },
        [] {
            const std::wstring kerb = host().add3dPolyline({{0, 0, 1}, {4, 4, 2}}, false);
            return Case{
                L"kaf-cdt-pfacemesh",
                {PointList({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}), StringList({kerb}), LispValue::nil(),
                 LispValue::nil(), LispValue::real(0.0), LispValue::nil()},
                1,
                Aborted(L"cdt_pfacemesh",
                        L"Object " + kerb + L" is not a 3D polyline or polyline!")};
        },
        [] {
            const std::wstring existing = Pyramid();
            const std::wstring design = Plane(0.0, 0.0);
            return Case{
                L"kaf-volume",
                {StringList({existing}), StringList({design})},
                2,
                Aborted(L"volume", L"Object " + design + L" is not a SubDMesh or PolyFaceMesh!")};
        },
    };
    for (const LookupStep& lookup : kLookupSteps) {
        for (const std::function<Case()>& make : cases) {
            host().reset();
            const Case c = make();
            SCOPED_TRACE(kafhost::wideToUtf8(std::wstring(c.function) + L" " + lookup.step) +
                         " at lookup " + std::to_string(c.occurrence));
            const std::vector<EntityInfo> before = DrawingEntities();
            host().failCall(lookup.call, c.occurrence, kInjected);
            ExpectFailedWithNil(
                Call(c.function, c.args),
                StepLine(std::wstring(L"GetEntity:") + lookup.step, kInjected) + c.printed);
            ExpectStillInTheDrawing(before);
            EXPECT_EQ(DrawingEntities().size(), before.size());
            if (std::wstring(c.function) == L"kaf-dct-subdmesh-aa") {
                // The outline search starts the meter once the polyline is accepted.
                EXPECT_EQ(host().meterEvents().empty(), c.occurrence == 1);
            }
            EXPECT_FALSE(host().meter().shown);
            EXPECT_EQ(host().registeredFilterCount(), 0u);
        }

        // The merging function ends under its own step names.
        host().reset();
        Mesh(0.0);
        const std::wstring mesh = Mesh(1.0);
        const std::vector<EntityInfo> before = DrawingEntities();
        host().failCall(lookup.call, 1, kInjected);
        ExpectFailedWithNil(Call(L"kaf-mergingCoplanarFacesOfSubMesh", {LispValue::string(mesh)}),
                            Aborted(std::wstring(L"mergingCoplanarFacesOfSubMesh:") + lookup.step,
                                    acadErrorStatusText(kInjected)));
        ExpectStillInTheDrawing(before);
    }
}

TEST_F(LookupFailureTest, ColouringStopsAtTheMeshItCannotFindAndKeepsTheColoursBefore) {
    for (const LookupStep& lookup : kLookupSteps) {
        SCOPED_TRACE(kafhost::wideToUtf8(lookup.step));
        host().reset();
        const std::wstring first = Mesh(0.0);
        const std::wstring second = Mesh(0.0);
        host().failCall(lookup.call, 2, kInjected);

        const kafhost::CallResult result = Colour({first, second});
        ExpectFailedWithNil(result,
                            L"\rMesh: 1 of 2, Number of vertices: 3" +
                                StepLine(std::wstring(L"GetEntity:") + lookup.step, kInjected) +
                                StepLine(L"changeVertexColor", L"Object is not a SubDMesh!"));
        EXPECT_EQ(ColoursOf(first), std::vector<Rgb>(3, {255, 0, 0}));
        EXPECT_TRUE(ColoursOf(second).empty());
        EXPECT_FALSE(host().meter().shown);
    }
}

// ---- Colouring: host calls whose results are not examined ----

TEST_F(LookupFailureTest, MeshThatRefusesItsColoursStaysUncolouredAndTheRunGoesOn) {
    for (HostCall call : {HostCall::kUpgradeOpen, HostCall::kSetVertexColorArray}) {
        SCOPED_TRACE(call == HostCall::kUpgradeOpen ? "upgradeOpen" : "setVertexColorArray");
        host().reset();
        const std::wstring first = Mesh(0.0);
        const std::wstring second = Mesh(10.0);
        host().failCall(call, 1, kInjected);

        const kafhost::CallResult result = Colour({first, second});
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_FALSE(result.resultSet);
        EXPECT_EQ(result.printed,
                  L"\rMesh: 1 of 2, Number of vertices: 3\rMesh: 2 of 2, Number of vertices: 3");
        EXPECT_TRUE(ColoursOf(first).empty());
        EXPECT_EQ(ColoursOf(second), std::vector<Rgb>(3, {0, 0, 255}));
        EXPECT_FALSE(host().meter().shown);
    }
}

TEST_F(LookupFailureTest, MeshThatCannotBeOpenedAgainStopsTheColouring) {
    const std::wstring first = Mesh(0.0);
    const std::wstring second = Mesh(10.0);
    // Each mesh is found, closed and opened again by its id.
    host().failCall(HostCall::kOpenAcDbObject, 2, kInjected);

    const kafhost::CallResult result = Colour({first, second});
    ExpectFailedWithNil(result, L"\rMesh: 1 of 2, Number of vertices: 3" +
                                    StepLine(L"changeVertexColor", L"Object is not a SubDMesh!"));
    EXPECT_EQ(ColoursOf(first), std::vector<Rgb>(3, {255, 0, 0}));
    EXPECT_TRUE(ColoursOf(second).empty());
    EXPECT_FALSE(host().meter().shown);
}

// ---- Surface functions: a contour writer that fails takes out the polylines it wrote ----

class SurfaceFailureTest : public SurfaceTest {
protected:
    // Checks the failed call and that the drawing's live entities are those of before.
    static void ExpectNothingWritten(const kafhost::CallResult& result, const std::wstring& printed,
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

struct ContourStep {
    HostCall call;
    int occurrence;  // counted from the call's start: the mesh lookup opens model space first
    const wchar_t* step;
};

TEST_F(SurfaceFailureTest, ContourWriterLeavesNoPolylineBehind) {
    // Three lines; the second is major, on its own layer.
    const ContourStep steps[] = {
        {HostCall::kGetSymbolTable, 2, L"CreateContourPolylines:getSymbolTable"},
        {HostCall::kBlockTableGetAt, 2, L"CreateContourPolylines:getAt"},
        {HostCall::kSetLayer, 1, L"CreateContourPolylines:setLayer"},
        {HostCall::kSetLayer, 2, L"CreateContourPolylines:setLayer"},
        {HostCall::kAppendAcDbEntity, 1, L"CreateContourPolylines:appendAcDbEntity"},
        {HostCall::kAppendAcDbEntity, 3, L"CreateContourPolylines:appendAcDbEntity"},
    };
    for (const ContourStep& step : steps) {
        SCOPED_TRACE(kafhost::wideToUtf8(step.step) + " at " + std::to_string(step.occurrence));
        host().reset();
        ASSERT_TRUE(host().addLayer(L"CONTOUR"));
        ASSERT_TRUE(host().addLayer(L"MAJOR"));
        const std::wstring pyramid = Pyramid();
        const std::vector<EntityInfo> before = LiveEntities();
        host().failCall(step.call, step.occurrence, kInjected);
        const kafhost::CallResult result =
            Call(L"kaf-contours", {StringList({pyramid}), LispValue::real(2.5),
                                   LispValue::real(0.0), LispValue::string(L"CONTOUR"),
                                   LispValue::integer(2), LispValue::string(L"MAJOR")});
        ExpectNothingWritten(result, StepLine(step.step, kInjected), before);
        EXPECT_EQ(host().callCount(step.call), static_cast<std::size_t>(step.occurrence));
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
    kafhost::CallResult result;
    {
        const RefusedAllocation refused(vertices.size() * sizeof(geom::CVertex));
        result = Call(L"kaf-contours", {StringList({mesh}), LispValue::real(0.5),
                                        LispValue::real(0.0), LispValue::nil()});
    }
    ExpectNothingWritten(result, L"Not enough memory\n", before);
}

// ---- The lookup by handle on its own: open for read, or nothing found and nothing open ----

class EntityLookupTest : public ModuleTest {
protected:
    static std::wstring AddMesh(const std::wstring& space = L"model") {
        return host().addSubDMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, L"0", space);
    }
};

TEST_F(EntityLookupTest, ModelSpaceEntityIsOpenedForRead) {
    AddMesh();
    const std::wstring handle = AddMesh();
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(GetEntity(entity, handle.c_str()), 0);
    ASSERT_NE(entity, nullptr);
    AcDbHandle found;
    entity->getAcDbHandle(found);
    EXPECT_EQ(kafhost::handleText(found.value()), handle);
    EXPECT_TRUE(entity->isReadEnabled());
    EXPECT_FALSE(entity->isWriteEnabled());
    EXPECT_EQ(host().openObjectCount(), 1u);
    entity->close();
    EXPECT_EQ(host().openObjectCount(), 0u);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(EntityLookupTest, PaperSpaceErasedAndUnknownHandlesFindNothing) {
    const std::wstring paper = AddMesh(L"paper");
    const std::wstring erased = AddMesh();
    ASSERT_TRUE(host().eraseObject(erased));
    const struct {
        std::wstring handle;
        std::wstring printed;
    } cases[] = {
        {paper, StepLine(L"GetEntity:seek", Acad::eInvalidInput)},
        {erased, StepLine(L"GetEntity:seek", Acad::eInvalidInput)},
        {L"FFFF", StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle)},
    };
    for (const auto& c : cases) {
        host().clearCommandLine();
        AcDbEntity* entity = nullptr;
        EXPECT_EQ(GetEntity(entity, c.handle.c_str()), 0);
        EXPECT_EQ(entity, nullptr);
        EXPECT_EQ(host().commandLine(), c.printed);
        EXPECT_EQ(host().openObjectCount(), 0u);
    }
}

}  // namespace
