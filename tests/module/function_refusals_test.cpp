// Calls the functions refuse, one table per family of functions: arguments of the wrong kind or
// range (checked in argument order), handles that lead to nothing usable, and points that make no
// triangle. Each call ends with the exact text and its documented result, and changes nothing in
// the drawing: no entity added or left behind, no colour set, no meter left shown, no message box.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/error_lines.h"
#include "support/files.h"
#include "surface_fixture.h"

namespace {

using kafhost::LispValue;

// How a refused call ends: RSERR with nil set, RSERR without a result, or RSRSLT with nil.
enum class Outcome { kFailedWithNil, kFailedWithoutResult, kNil };

struct Refusal {
    const wchar_t* function;
    std::vector<LispValue> args;
    std::wstring printed;
    Outcome outcome = Outcome::kFailedWithNil;
};

// The two mesh kinds with their names and texts.
struct MeshKind {
    const wchar_t* function;
    const wchar_t* fromFiles;
    const wchar_t* constrained;
    const wchar_t* label;
    const wchar_t* notAnInteger;
    const wchar_t* outOfRange;
    int largest;
};

const MeshKind kKinds[] = {
    {L"kaf-dct-pfacemesh", L"kaf-dct-pfacemesh-withloadcsv", L"kaf-cdt-pfacemesh", L"dct_pfacemesh",
     L"The maximum size of points in a polyfacemesh has to be an integer!",
     L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!", 32767},
    {L"kaf-dct-subdmesh", L"kaf-dct-subdmesh-withloadcsv", L"kaf-cdt-subdmesh", L"dct_subdmesh",
     L"The maximum size of points in a subdmesh has to be an integer!",
     L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!", 3000000},
};

const LispValue kNil = LispValue::nil();
const std::wstring kStart = L"\nStart Calculation...";
const std::wstring kTooFew = L"A minimum of 3 vertices are required!\n";
const std::wstring kNotFinite = L"A point has a coordinate that is not a finite number!\n";
const std::wstring kNoMesh = L"\nNo mesh created: all points lie on one line.\n";
const std::wstring kLayerError = L"Layer name has to be a string or nil!";
const std::wstring kLoading = L"\nPlease wait ...\n\nLoading files ... ";
const std::wstring kParsed = kLoading + L"finished.\nParsing ... finished\nVertex count: 3";

LispValue Real(double value) {
    return LispValue::real(value);
}
LispValue Integer(int value) {
    return LispValue::integer(value);
}
LispValue Text(const std::wstring& text) {
    return LispValue::string(text);
}

// The arguments given with the one at position replaced.
std::vector<LispValue> With(std::vector<LispValue> args, std::size_t position,
                            const LispValue& value) {
    args[position] = value;
    return args;
}

class FunctionRefusalTest : public SurfaceTest {
protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        host().setMessageBoxEcho(false);
        ASSERT_TRUE(host().addLayer(L"TIN"));
        pyramid_ = Pyramid();
        mesh_ = StringList({pyramid_});
        square_ = host().addPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0.0, true);
        paper_ = host().addSubDMesh({{1, 1, 1}, {2, 1, 1}, {1, 2, 1}}, {{0, 1, 2}}, L"0", L"paper");
    }

    static void Expect(const std::vector<Refusal>& refusals) {
        for (const Refusal& refusal : refusals) {
            SCOPED_TRACE(kafhost::wideToUtf8(std::wstring(refusal.function) + L" " +
                                             kafhost::toLispText(LispValue::list(refusal.args))));
            const std::size_t entities = LiveEntities().size();
            const kafhost::CallResult result = Call(refusal.function, refusal.args);
            ASSERT_TRUE(result.defined);
            EXPECT_EQ(result.status, refusal.outcome == Outcome::kNil ? RSRSLT : RSERR);
            EXPECT_EQ(result.resultSet, refusal.outcome != Outcome::kFailedWithoutResult);
            EXPECT_TRUE(result.value.isNil());
            EXPECT_EQ(result.printed, refusal.printed);
            EXPECT_EQ(LiveEntities().size(), entities);
            for (const kafhost::EntityInfo& entity : host().snapshot().entities) {
                EXPECT_TRUE(entity.vertexColors.empty()) << kafhost::wideToUtf8(entity.handle);
            }
            EXPECT_FALSE(host().meter().shown);
            EXPECT_TRUE(host().messageBoxes().empty());
        }
    }

    std::wstring File(const std::string& name, const std::string& bytes) {
        return files_.Write(name, bytes).wstring();
    }

    std::wstring pyramid_;
    LispValue mesh_;
    std::wstring square_;
    std::wstring paper_;
    TempFolder files_;
};

TEST_F(FunctionRefusalTest, PointListMeshFunctions) {
    const LispValue points = PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    std::vector<Refusal> refusals;
    for (const MeshKind& k : kKinds) {
        const auto argumentError = [&k](const std::wstring& message) {
            return kStart + Aborted(k.label, message);
        };
        const std::vector<Refusal> rows = {
            {k.function, {points}, argumentError(kLayerError)},
            {k.function, {points, Integer(5)}, argumentError(kLayerError)},
            {k.function, {points, kNil, Real(100)}, argumentError(k.notAnInteger)},
            {k.function, {points, kNil, Integer(2)}, argumentError(k.outOfRange)},
            {k.function, {points, kNil, Integer(-5)}, argumentError(k.outOfRange)},
            {k.function, {points, kNil, Integer(k.largest + 1)}, argumentError(k.outOfRange)},
            {k.function, {}, kStart + kTooFew},
            {k.function,
             {PointList({{0, 0, 0}, {1, 1, 0}, {1, 1, 5}}), kNil},
             kStart + kTooFew,
             Outcome::kFailedWithoutResult},
            // Points on one line, for the single writer and, with a maximum of 3, the split one.
            {k.function,
             {PointList2({{0, 0}, {1, 1}, {2, 2}}), Text(L"TIN")},
             kStart + L"ready after 0.000000 seconds\n" + kNoMesh,
             Outcome::kNil},
            {k.function,
             {PointList2({{0, 0}, {1, 1}, {2, 2}, {3, 3}}), Text(L"TIN"), Integer(3)},
             kStart + L"ready after 0.000000 seconds\n" + kNoMesh,
             Outcome::kNil},
        };
        refusals.insert(refusals.end(), rows.begin(), rows.end());
    }
    Expect(refusals);
}

TEST_F(FunctionRefusalTest, PointFileMeshFunctions) {
    const LispValue files = StringList({File("p.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n")});
    const std::vector<LispValue> all = {files,   Text(L";"), kNil,        Real(0),
                                        Real(0), Real(1),    Integer(100)};
    const std::wstring large = File("large.csv", "0;0;1\n1e308;0;2\n0;4;1e300\n");
    std::vector<Refusal> refusals;
    for (const MeshKind& k : kKinds) {
        const std::wstring loaded = kLoading + L"finished.";
        const auto argumentError = [&](const std::wstring& message) {
            return loaded + Aborted(k.label, message);
        };
        const std::vector<Refusal> rows = {
            {k.fromFiles, {}, kLoading + Aborted(L"parseCSV", L"No files!")},
            {k.fromFiles, {files}, loaded + Aborted(L"parseCSV", L"No delimiter!")},
            {k.fromFiles, {files, Integer(59)}, loaded + Aborted(L"parseCSV", L"No delimiter!")},
            {k.fromFiles,
             {LispValue::list({files.items()[0], Integer(7)}), Text(L";")},
             kLoading + Aborted(L"loadFiles", L"Error in file list!")},
            {k.fromFiles, With(all, 2, Integer(5)), argumentError(kLayerError)},
            {k.fromFiles, With(all, 3, Integer(0)),
             argumentError(L"The value of transX has to be a double!")},
            {k.fromFiles, With(all, 4, Integer(0)),
             argumentError(L"The value of transY has to be a double!")},
            {k.fromFiles, With(all, 5, Text(L"1")),
             argumentError(L"The value of scaleZ has to be a double!")},
            {k.fromFiles, With(all, 6, Real(100)), argumentError(k.notAnInteger)},
            {k.fromFiles, With(all, 6, Integer(2)), argumentError(k.outOfRange)},
            {k.fromFiles, With(all, 6, Integer(-5)), argumentError(k.outOfRange)},
            {k.fromFiles, With(all, 6, Integer(k.largest + 1)), argumentError(k.outOfRange)},
            // Blank rows count as rows but give no point.
            {k.fromFiles, With(all, 0, StringList({File("blank.csv", "\n\n\n")})),
             kParsed + L"\nStart Calculation ... " + kTooFew, Outcome::kFailedWithoutResult},
        };
        refusals.insert(refusals.end(), rows.begin(), rows.end());
        // A shift or scale that makes a coordinate infinite.
        const std::pair<std::size_t, double> shifts[] = {
            {3, 1e308}, {4, -std::numeric_limits<double>::infinity()}, {5, 1e10}};
        for (const auto& [position, value] : shifts) {
            refusals.push_back(
                {k.fromFiles, With(With(all, 0, StringList({large})), position, Real(value)),
                 loaded + L"\nParsing ... " + kNotFinite, Outcome::kFailedWithoutResult});
        }
    }
    const std::vector<LispValue> line =
        With(all, 0, StringList({File("l.csv", "0;0;1\n1;1;2\n2;2;3\n")}));
    const std::wstring timed = kParsed + L"\nStart Calculation ... ready after 0.000000 seconds";
    refusals.push_back({kKinds[0].fromFiles, line, timed + L"\n" + kNoMesh, Outcome::kNil});
    refusals.push_back({kKinds[1].fromFiles, line, timed + kNoMesh + L"finished", Outcome::kNil});
    Expect(refusals);
}

TEST_F(FunctionRefusalTest, OutlineFunction) {
    const wchar_t* function = L"kaf-dct-subdmesh-aa";
    const std::wstring label = L"dct_subdmesh_aa";
    const std::vector<LispValue> all = {Text(square_), mesh_, kNil, Integer(100), Real(0.0)};
    const std::wstring range =
        L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!";
    const std::wstring notPolyline = Aborted(L"add_points_aa", L"Object is not a LWPolyline!");
    const std::wstring notMesh = Aborted(L"add_points_aa", L"Object is not a SubDMesh!");
    const std::wstring outside =
        host().addSubDMesh({{15, 5, 1}, {11, 1, 2}, {19, 2, 3}}, {{0, 1, 2}});
    const std::wstring huge =
        host().addSubDMesh({{5, 5, 1e308}, {1, 1, 2}, {9, 2, 3}}, {{0, 1, 2}});
    Expect({
        {function, With(all, 0, Integer(1)),
         Aborted(label, L"First argument has to be a handle list!")},
        {function, With(all, 1, Text(pyramid_)),
         Aborted(label, L"Second argument has to be a handle list!")},
        {function, With(all, 2, Integer(5)),
         Aborted(label, L"Third argument has to be a string or nil!")},
        {function, With(all, 3, Real(100)),
         Aborted(label, L"Fourth argument has to be an integer!")},
        {function, With(all, 4, Integer(0)), Aborted(label, L"Fifth argument has to be a real!")},
        {function, With(all, 3, Integer(2)), Aborted(label, range)},
        {function, With(all, 3, Integer(-5)), Aborted(label, range)},
        {function, With(all, 3, Integer(3000001)), Aborted(label, range)},
        // The range is tested only after all five arguments were read.
        {function, With(With(all, 3, Integer(2)), 4, Integer(0)),
         Aborted(label, L"Fifth argument has to be a real!")},
        {function, {}, Aborted(label, L"Too few arguments!")},
        {function, {all[0], all[1], all[2], all[3]}, Aborted(label, L"Too few arguments!")},
        // The mesh list as the last argument: its handles are echoed first.
        {function,
         {all[0], StringList({pyramid_, outside})},
         L"End Handle: " + pyramid_ + L"\nEnd Handle: " + outside + L"\n" +
             Aborted(label, L"Too few arguments!")},
        {function, With(all, 0, Text(pyramid_)), notPolyline},
        {function, With(all, 0, Text(L"FFFF")),
         StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle) + notPolyline},
        {function, With(all, 1, StringList({pyramid_, square_})), notMesh},
        {function, With(all, 1, StringList({pyramid_, paper_})),
         StepLine(L"GetEntity:seek", Acad::eInvalidInput) + notMesh},
        {function, With(all, 1, StringList({outside})), kStart + kTooFew,
         Outcome::kFailedWithoutResult},
        {function, With(With(all, 1, StringList({huge})), 4, Real(1e308)), kNotFinite,
         Outcome::kFailedWithoutResult},
    });
}

TEST_F(FunctionRefusalTest, ColouringAndMerging) {
    const wchar_t* colour = L"kaf-changeMeshColor";
    const auto colourError = [](const std::wstring& message) {
        return Aborted(L"changeMeshColor", message);
    };
    const LispValue red = LispValue::point(255, 0, 0);
    const LispValue blue = LispValue::point(0, 0, 255);
    const wchar_t* merge = L"kaf-mergingCoplanarFacesOfSubMesh";
    const std::wstring label = L"mergingCoplanarFacesOfSubMesh";
    const std::wstring polyface =
        host().addPolyFaceMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3, 0}});
    Expect({
        {colour, {}, colourError(L"Too few arguments!")},
        {colour,
         {Text(pyramid_), Real(0), Real(1), red, blue},
         colourError(L"First argument has to be a handle list!")},
        {colour,
         {mesh_, Integer(0), Real(1), red, blue},
         colourError(L"Second argument has to be a real!")},
        {colour,
         {mesh_, Real(0), Integer(1), red, blue},
         colourError(L"Third argument has to be a real!")},
        {colour,
         {mesh_, Real(0), Real(1), LispValue::point(1, 2), blue},
         colourError(L"Fourth argument has to be a rgb list!")},
        {colour,
         {mesh_, Real(0), Real(1), red, Text(L"blue")},
         colourError(L"Fifth argument has to be a rgb list!")},
        {colour, {mesh_, Real(0), Real(1), red}, colourError(L"Too few arguments!")},
        {colour,
         {mesh_, Real(5), Real(5), red, blue},
         colourError(L"Second and third argument have to differ!")},
        {colour,
         {StringList({L"2A", L"2B"})},
         L"End Handle: 2A\nEnd Handle: 2B\n" + colourError(L"Too few arguments!")},
        {merge, {}, Aborted(label, L"Too few arguments!")},
        {merge, {Integer(12)}, Aborted(label, L"First argument has to be a string (handle name)!")},
        {merge,
         {Text(L"ABC123")},
         Aborted(label + L":getAcDbObjectId", acadErrorStatusText(Acad::eUnknownHandle))},
        {merge,
         {Text(paper_)},
         Aborted(label + L":seek", acadErrorStatusText(Acad::eInvalidInput))},
        {merge, {Text(polyface)}, Aborted(label, L"Object is not a SubDMesh!")},
    });
}

TEST_F(FunctionRefusalTest, SurfaceFunctions) {
    const LispValue real = Real(1.0);
    const LispValue zero = Real(0.0);
    const LispValue one = Integer(1);
    const LispValue text = Text(L"0");
    const double infinity = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::wstring broken =
        host().addSubDMesh({{20, 0, 0}, {30, 0, nan}, {20, 10, 0}}, {{0, 1, 2}});
    // A second mesh over the pyramid's first face, and a neighbour whose corner at (10, 0) lies
    // higher than the pyramid's.
    const std::wstring over = host().addSubDMesh({{0, 0, 0}, {10, 0, 0}, {5, 5, 10}}, {{0, 1, 2}});
    const std::wstring step =
        host().addSubDMesh({{10, 0, 1}, {20, 0, 0}, {10, 10, 0}}, {{0, 1, 2}});
    const std::wstring empty = host().addSubDMesh({}, {});
    const auto contours = [](const std::wstring& message) { return Aborted(L"contours", message); };
    const auto statistics = [](const std::wstring& message) {
        return Aborted(L"surfaceStatistics", message);
    };
    const auto volume = [](const std::wstring& message) { return Aborted(L"volume", message); };
    const auto datum = [](const std::wstring& message) {
        return Aborted(L"volumeToDatum", message);
    };
    const wchar_t* kContours = L"kaf-contours";
    const wchar_t* kStatistics = L"kaf-surfaceStatistics";
    const wchar_t* kVolume = L"kaf-volume";
    const wchar_t* kDatum = L"kaf-volumeToDatum";
    Expect({
        {kContours, {}, contours(L"Too few arguments!")},
        {kContours, {mesh_, real, real}, contours(L"Too few arguments!")},
        {kContours, {text, real, real, kNil}, contours(L"First argument has to be a handle list!")},
        {kContours, {mesh_, one, real, kNil}, contours(L"Second argument has to be a real!")},
        {kContours, {mesh_, real, one, kNil}, contours(L"Third argument has to be a real!")},
        {kContours,
         {mesh_, real, real, one},
         contours(L"Fourth argument has to be a string or nil!")},
        {kContours,
         {mesh_, real, real, kNil, real},
         contours(L"Fifth argument has to be an integer!")},
        {kContours,
         {mesh_, real, real, kNil, one, one},
         contours(L"Sixth argument has to be a string or nil!")},
        // Ranges are tested once every argument was read.
        {kContours,
         {mesh_, zero, real, one},
         contours(L"Fourth argument has to be a string or nil!")},
        {kContours,
         {mesh_, zero, real, kNil},
         contours(L"The interval has to be a positive number!")},
        {kContours,
         {mesh_, Real(-2.0), real, kNil},
         contours(L"The interval has to be a positive number!")},
        {kContours,
         {mesh_, real, Real(infinity), kNil},
         contours(L"The base elevation has to be a finite number!")},
        {kContours,
         {mesh_, real, real, kNil, Integer(0)},
         contours(L"The major step has to be 1 or more!")},
        {kContours,
         {mesh_, Real(1e-6), zero, kNil},
         contours(L"The interval gives more than 1000000 contour levels!")},
        // The minor lines are fine, the major layer is missing: none of them is left.
        {kContours,
         {mesh_, Real(2.5), zero, kNil, Integer(2), Text(L"MISSING")},
         StepLine(L"CreateContourPolylines:setLayer", Acad::eKeyNotFound)},
        {kStatistics, {}, statistics(L"Too few arguments!")},
        {kStatistics, {text}, statistics(L"First argument has to be a handle list!")},
        // A list without a handle text in it (here two points) names no mesh.
        {kStatistics,
         {PointList({{0, 0, 0}, {1, 1, 1}})},
         statistics(L"First argument has to be a handle list!")},
        {kStatistics,
         {StringList({pyramid_, square_})},
         statistics(L"Object " + square_ + L" is not a SubDMesh or PolyFaceMesh!")},
        {kStatistics,
         {StringList({pyramid_, over})},
         statistics(L"Mesh " + over +
                    L" has a face at (5.000, 1.667) that overlaps another face!")},
        {kStatistics, {StringList({empty})}, statistics(L"The meshes have no vertices!")},
        {kVolume, {mesh_}, volume(L"Too few arguments!")},
        {kVolume, {text, mesh_}, volume(L"First argument has to be a handle list!")},
        {kVolume, {mesh_, text}, volume(L"Second argument has to be a handle list!")},
        {kVolume,
         {mesh_, StringList({L"FFFF"})},
         StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle) +
             volume(L"Object FFFF is not a SubDMesh or PolyFaceMesh!")},
        {kVolume,
         {mesh_, StringList({pyramid_, step})},
         volume(
             L"Mesh " + step +
             L" has a vertex at (10.000, 0.000) where another vertex has a different elevation!")},
        {kDatum, {mesh_}, datum(L"Too few arguments!")},
        {kDatum, {mesh_, one}, datum(L"Second argument has to be a real!")},
        {kDatum, {mesh_, Real(infinity)}, datum(L"The datum has to be a finite number!")},
        {kDatum,
         {StringList({pyramid_, broken}), zero},
         datum(L"Mesh " + broken +
               L" has a vertex with a coordinate that is not a finite number!")},
    });
}

TEST_F(FunctionRefusalTest, ConstrainedMeshFunctions) {
    const LispValue points = PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    const LispValue zero = Real(0.0);
    const LispValue layer = Text(L"TIN");
    const LispValue file = StringList({L"p.txt"});
    const wchar_t* subd = kKinds[1].constrained;
    const wchar_t* pface = kKinds[0].constrained;
    const wchar_t* subdFiles = L"kaf-cdt-subdmesh-withloadcsv";
    const wchar_t* pfaceFiles = L"kaf-cdt-pfacemesh-withloadcsv";
    const auto error = [](const wchar_t* function, const std::wstring& message) {
        std::wstring label = std::wstring(function).substr(4);
        std::replace(label.begin(), label.end(), L'-', L'_');
        return Aborted(label, message);
    };
    const std::wstring cover =
        host().addPolyline({{-5, -5}, {15, -5}, {15, 15}, {-5, 15}}, 0.0, true);
    const std::vector<Refusal> refusals = {
        {subd, {}, error(subd, L"Too few arguments!")},
        {subd, {points, kNil, kNil, kNil, zero}, error(subd, L"Too few arguments!")},
        {subd,
         {Text(L"x"), kNil, kNil, kNil, zero, layer},
         error(subd, L"First argument has to be a point list or nil!")},
        {subd,
         {StringList({L"x"}), kNil, kNil, kNil, zero, layer},
         error(subd, L"First argument has to be a point list or nil!")},
        {subd,
         {points, Text(L"A"), kNil, kNil, zero, layer},
         error(subd, L"Second argument has to be a handle list or nil!")},
        {subd,
         {points, kNil, StringList({L"A"}), kNil, zero, layer},
         error(subd, L"Third argument has to be a handle or nil!")},
        {pface,
         {points, kNil, kNil, PointList({{0, 0, 0}}), zero, layer},
         error(pface, L"Fourth argument has to be a handle list or nil!")},
        {pface,
         {points, kNil, kNil, kNil, Real(-0.5), layer},
         error(pface, L"Fifth argument has to be a length of 0 or more!")},
        {pface,
         {points, kNil, kNil, kNil, zero, Integer(1)},
         error(pface, L"Sixth argument has to be a string or nil!")},
        {pface,
         {points, kNil, kNil, kNil, zero, layer, Real(9.0)},
         error(pface, kKinds[0].notAnInteger)},
        {pface,
         {points, kNil, kNil, kNil, zero, layer, Integer(32768)},
         error(pface, kKinds[0].outOfRange)},
        {subd,
         {points, kNil, kNil, kNil, zero, layer, Integer(2)},
         error(subd, kKinds[1].outOfRange)},
        {subdFiles,
         {kNil, Text(L"PNEZD"), Text(L","), kNil, kNil, kNil, zero, layer},
         error(subdFiles, L"First argument has to be a list of file names!")},
        {subdFiles,
         {file, Text(L"PNEE"), Text(L","), kNil, kNil, kNil, zero, layer},
         error(subdFiles, L"Second argument has to be a column layout such as \"PNEZD\"!")},
        {pfaceFiles,
         {file, Text(L"enz"), Text(L",;"), kNil, kNil, kNil, zero, layer},
         error(pfaceFiles, L"Third argument has to be a delimiter of one character!")},
        {pfaceFiles,
         {file, Text(L"XYZ"), Text(L" "), kNil, kNil, kNil, Text(L"1"), layer},
         error(pfaceFiles, L"Seventh argument has to be a length of 0 or more!")},
        // A hole that covers everything, and a point that is not finite.
        {subd,
         {PointList({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}), kNil, kNil,
          StringList({cover}), zero, kNil},
         kStart + L"No triangle is left inside the boundaries!\n",
         Outcome::kFailedWithoutResult},
        {pface,
         {PointList({{0, 0, 0}, {1, 0, INFINITY}, {0, 1, 0}}), kNil, kNil, kNil, zero, kNil},
         kStart + L"Coordinates must be finite numbers!\n",
         Outcome::kFailedWithoutResult},
    };
    Expect(refusals);
}

TEST_F(FunctionRefusalTest, PointListFunctionsWithoutMeshes) {
    const LispValue line = PointList({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}});
    const LispValue twoPositions = PointList({{0, 0, 0}, {1, 1, 0}, {1, 1, 3}, {0, 0, 2}});
    Expect({
        {L"kaf-dct", {PointList({{0, 0, 0}, {1, 1, 0}})}, kTooFew},
        {L"kaf-dct", {twoPositions}, kTooFew},
        {L"kaf-dct", {PointList({{2, 3, 4}})}, kTooFew},
        {L"kaf-dct", {}, kTooFew},
        {L"kaf-dct", {line}, L"", Outcome::kNil},
        {L"kaf-dct-pface", {twoPositions}, kTooFew},
        {L"kaf-dct-pface", {}, kTooFew},
        {L"triangulate", {PointList({{0, 0, 0}, {1, 1, 0}})}, L"", Outcome::kNil},
        {L"triangulate", {line}, L"", Outcome::kNil},
        {L"triangulate", {PointList({{1, 1, 0}, {1, 1, 2}, {1, 1, 3}})}, L"", Outcome::kNil},
        {L"triangulate", {}, L"", Outcome::kNil},
    });
}

}  // namespace
