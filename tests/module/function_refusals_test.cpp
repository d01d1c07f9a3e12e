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
    const wchar_t* label;
    const wchar_t* notAnInteger;
    const wchar_t* outOfRange;
    int largest;
};

const MeshKind kKinds[] = {
    {L"kaf-dct-pfacemesh", L"kaf-dct-pfacemesh-withloadcsv", L"dct_pfacemesh",
     L"The maximum size of points in a polyfacemesh has to be an integer!",
     L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!", 32767},
    {L"kaf-dct-subdmesh", L"kaf-dct-subdmesh-withloadcsv", L"dct_subdmesh",
     L"The maximum size of points in a subdmesh has to be an integer!",
     L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!", 3000000},
};

const LispValue kNil = LispValue::nil();
const std::wstring kStart = L"\nStart Calculation...";
const std::wstring kTooFew = L"A minimum of 3 vertices are required!\n";
const std::wstring kNotFinite = L"A point has a coordinate that is not a finite number!\n";
const std::wstring kReady = L"ready after 0.000000 seconds\n";
const std::wstring kNoMesh = L"\nNo mesh created: all points lie on one line.\n";
const std::wstring kLayerError = L"Layer name has to be a string or nil!";
const std::wstring kTooFewArguments = L"Too few arguments!";
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

    static void Expect(const wchar_t* function, const std::vector<LispValue>& args,
                       const std::wstring& printed, Outcome outcome = Outcome::kFailedWithNil) {
        SCOPED_TRACE(kafhost::wideToUtf8(std::wstring(function) + L" " +
                                         kafhost::toLispText(LispValue::list(args))));
        const std::size_t entities = LiveEntities().size();
        const kafhost::CallResult result = Call(function, args);
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, outcome == Outcome::kNil ? RSRSLT : RSERR);
        EXPECT_EQ(result.resultSet, outcome != Outcome::kFailedWithoutResult);
        EXPECT_TRUE(result.value.isNil());
        EXPECT_EQ(result.printed, printed);
        EXPECT_EQ(LiveEntities().size(), entities);
        for (const kafhost::EntityInfo& entity : host().snapshot().entities) {
            EXPECT_TRUE(entity.vertexColours.empty()) << kafhost::wideToUtf8(entity.handle);
        }
        EXPECT_FALSE(host().meter().shown);
        EXPECT_TRUE(host().messageBoxes().empty());
    }

    // A check of calls of the function that end with the function's error line after prefix.
    static auto Aborts(const wchar_t* function, const std::wstring& label,
                       const std::wstring& prefix = L"") {
        return [=](const std::vector<LispValue>& args, const std::wstring& message) {
            Expect(function, args, prefix + Aborted(label, message));
        };
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
    for (const MeshKind& k : kKinds) {
        const auto aborts = Aborts(k.function, k.label, kStart);
        aborts({points}, kLayerError);
        aborts({points, Integer(5)}, kLayerError);
        aborts({points, kNil, Real(100)}, k.notAnInteger);
        for (const int maximum : {2, -5, k.largest + 1}) {
            aborts({points, kNil, Integer(maximum)}, k.outOfRange);
        }
        Expect(k.function, {}, kStart + kTooFew);
        Expect(k.function, {PointList({{0, 0, 0}, {1, 1, 0}, {1, 1, 5}}), kNil}, kStart + kTooFew,
               Outcome::kFailedWithoutResult);
        // Points on one line, for the single writer and, with a maximum of 3, the split one.
        Expect(k.function, {PointList2({{0, 0}, {1, 1}, {2, 2}}), Text(L"TIN")},
               kStart + kReady + kNoMesh, Outcome::kNil);
        Expect(k.function, {PointList2({{0, 0}, {1, 1}, {2, 2}, {3, 3}}), Text(L"TIN"), Integer(3)},
               kStart + kReady + kNoMesh, Outcome::kNil);
    }
}

TEST_F(FunctionRefusalTest, PointFileMeshFunctions) {
    const LispValue files = StringList({File("p.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n")});
    const std::vector<LispValue> all = {files,   Text(L";"), kNil,        Real(0),
                                        Real(0), Real(1),    Integer(100)};
    const LispValue large = StringList({File("large.csv", "0;0;1\n1e308;0;2\n0;4;1e300\n")});
    const LispValue blank = StringList({File("blank.csv", "\n\n\n")});
    const LispValue line = StringList({File("line.csv", "0;0;1\n1;1;2\n2;2;3\n")});
    const std::wstring loaded = kLoading + L"finished.";
    for (const MeshKind& k : kKinds) {
        const auto parse = Aborts(k.fromFiles, L"parseCSV", loaded);
        Aborts(k.fromFiles, L"parseCSV", kLoading)({}, L"No files!");
        parse({files}, L"No delimiter!");
        parse({files, Integer(59)}, L"No delimiter!");
        Aborts(k.fromFiles, L"loadFiles", kLoading)(
            {LispValue::list({files.items()[0], Integer(7)}), Text(L";")}, L"Error in file list!");
        const auto bad = [&k, &all, &loaded](std::size_t position, const LispValue& value,
                                             const std::wstring& message) {
            Aborts(k.fromFiles, k.label, loaded)(With(all, position, value), message);
        };
        bad(2, Integer(5), kLayerError);
        bad(3, Integer(0), L"The value of transX has to be a double!");
        bad(4, Integer(0), L"The value of transY has to be a double!");
        bad(5, Text(L"1"), L"The value of scaleZ has to be a double!");
        bad(6, Real(100), k.notAnInteger);
        for (const int maximum : {2, -5, k.largest + 1}) {
            bad(6, Integer(maximum), k.outOfRange);
        }
        // Blank rows count as rows but give no point.
        Expect(k.fromFiles, With(all, 0, blank), kParsed + L"\nStart Calculation ... " + kTooFew,
               Outcome::kFailedWithoutResult);
        // A shift or scale that makes a coordinate infinite.
        const std::pair<std::size_t, double> shifts[] = {
            {3, 1e308}, {4, -std::numeric_limits<double>::infinity()}, {5, 1e10}};
        for (const auto& [position, value] : shifts) {
            Expect(k.fromFiles, With(With(all, 0, large), position, Real(value)),
                   loaded + L"\nParsing ... " + kNotFinite, Outcome::kFailedWithoutResult);
        }
    }
    const std::wstring timed = kParsed + L"\nStart Calculation ... ready after 0.000000 seconds";
    Expect(kKinds[0].fromFiles, With(all, 0, line), timed + L"\n" + kNoMesh, Outcome::kNil);
    Expect(kKinds[1].fromFiles, With(all, 0, line), timed + kNoMesh + L"finished", Outcome::kNil);
}

TEST_F(FunctionRefusalTest, OutlineFunction) {
    const wchar_t* function = L"kaf-dct-subdmesh-aa";
    const std::vector<LispValue> all = {Text(square_), mesh_, kNil, Integer(100), Real(0.0)};
    const auto aborts = Aborts(function, L"dct_subdmesh_aa");
    const auto bad = [&](std::size_t position, const LispValue& value,
                         const std::wstring& message) {
        aborts(With(all, position, value), message);
    };
    bad(0, Integer(1), L"First argument has to be a handle list!");
    bad(1, Text(pyramid_), L"Second argument has to be a handle list!");
    bad(2, Integer(5), L"Third argument has to be a string or nil!");
    bad(3, Real(100), L"Fourth argument has to be an integer!");
    bad(4, Integer(0), L"Fifth argument has to be a real!");
    for (const int maximum : {2, -5, 3000001}) {
        bad(3, Integer(maximum), kKinds[1].outOfRange);
    }
    // The range is tested only after all five arguments were read.
    aborts(With(With(all, 3, Integer(2)), 4, Integer(0)), L"Fifth argument has to be a real!");
    aborts({}, kTooFewArguments);
    aborts({all[0], all[1], all[2], all[3]}, kTooFewArguments);
    // The mesh list as the last argument: its handles are echoed first.
    Aborts(function, L"dct_subdmesh_aa",
           L"End Handle: " + pyramid_ + L"\nEnd Handle: " + paper_ + L"\n")(
        {all[0], StringList({pyramid_, paper_})}, kTooFewArguments);

    const auto lookup = Aborts(function, L"add_points_aa");
    lookup(With(all, 0, Text(pyramid_)), L"Object is not a LWPolyline!");
    Aborts(function, L"add_points_aa",
           StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle))(
        With(all, 0, Text(L"FFFF")), L"Object is not a LWPolyline!");
    lookup(With(all, 1, StringList({pyramid_, square_})), L"Object is not a SubDMesh!");
    Aborts(function, L"add_points_aa", StepLine(L"GetEntity:seek", Acad::eInvalidInput))(
        With(all, 1, StringList({pyramid_, paper_})), L"Object is not a SubDMesh!");

    const std::wstring outside =
        host().addSubDMesh({{15, 5, 1}, {11, 1, 2}, {19, 2, 3}}, {{0, 1, 2}});
    Expect(function, With(all, 1, StringList({outside})), kStart + kTooFew,
           Outcome::kFailedWithoutResult);
    // An elevation made infinite by the raise.
    const std::wstring huge =
        host().addSubDMesh({{5, 5, 1e308}, {1, 1, 2}, {9, 2, 3}}, {{0, 1, 2}});
    Expect(function, With(With(all, 1, StringList({huge})), 4, Real(1e308)), kNotFinite,
           Outcome::kFailedWithoutResult);
}

TEST_F(FunctionRefusalTest, ColouringAndMerging) {
    const auto colour = Aborts(L"kaf-changeMeshColor", L"changeMeshColor");
    const LispValue red = LispValue::point(255, 0, 0);
    const LispValue blue = LispValue::point(0, 0, 255);
    colour({}, kTooFewArguments);
    colour({Text(pyramid_), Real(0), Real(1), red, blue},
           L"First argument has to be a handle list!");
    colour({mesh_, Integer(0), Real(1), red, blue}, L"Second argument has to be a real!");
    colour({mesh_, Real(0), Integer(1), red, blue}, L"Third argument has to be a real!");
    colour({mesh_, Real(0), Real(1), LispValue::point(1, 2), blue},
           L"Fourth argument has to be a rgb list!");
    colour({mesh_, Real(0), Real(1), red, Text(L"blue")}, L"Fifth argument has to be a rgb list!");
    colour({mesh_, Real(0), Real(1), red}, kTooFewArguments);
    colour({mesh_, Real(5), Real(5), red, blue}, L"Second and third argument have to differ!");
    // Numbers that are not finite have no place on the ramp (finite colour parts beyond 0 ... 255
    // are taken: postprocess_test.cpp).
    const double infinity = std::numeric_limits<double>::infinity();
    colour({mesh_, Real(std::nan("")), Real(1), red, blue}, L"Second argument has to be a real!");
    colour({mesh_, Real(0), Real(-infinity), red, blue}, L"Third argument has to be a real!");
    colour({mesh_, Real(0), Real(1), LispValue::point(255, std::nan(""), 0), blue},
           L"Fourth argument has to be a rgb list!");
    colour({mesh_, Real(0), Real(1), red, LispValue::point(0, 0, infinity)},
           L"Fifth argument has to be a rgb list!");
    Aborts(L"kaf-changeMeshColor", L"changeMeshColor", L"End Handle: 2A\nEnd Handle: 2B\n")(
        {StringList({L"2A", L"2B"})}, kTooFewArguments);

    const wchar_t* function = L"kaf-mergingCoplanarFacesOfSubMesh";
    const std::wstring label = L"mergingCoplanarFacesOfSubMesh";
    const auto merge = Aborts(function, label);
    merge({}, kTooFewArguments);
    merge({Integer(12)}, L"First argument has to be a string (handle name)!");
    merge({Text(host().addPolyFaceMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3, 0}}))},
          L"Object is not a SubDMesh!");
    // Lookups that fail end under the function's own step names.
    Aborts(function, label + L":getAcDbObjectId")({Text(L"ABC123")},
                                                  acadErrorStatusText(Acad::eUnknownHandle));
    Aborts(function, label + L":seek")({Text(paper_)}, acadErrorStatusText(Acad::eInvalidInput));
}

TEST_F(FunctionRefusalTest, SurfaceFunctions) {
    const LispValue real = Real(1.0);
    const LispValue zero = Real(0.0);
    const LispValue one = Integer(1);
    const LispValue text = Text(L"0");
    const double infinity = std::numeric_limits<double>::infinity();
    const auto contours = Aborts(L"kaf-contours", L"contours");
    contours({}, kTooFewArguments);
    contours({mesh_, real, real}, kTooFewArguments);
    contours({text, real, real, kNil}, L"First argument has to be a handle list!");
    contours({mesh_, one, real, kNil}, L"Second argument has to be a real!");
    contours({mesh_, real, one, kNil}, L"Third argument has to be a real!");
    contours({mesh_, real, real, one}, L"Fourth argument has to be a string or nil!");
    contours({mesh_, real, real, kNil, real}, L"Fifth argument has to be an integer!");
    contours({mesh_, real, real, kNil, one, one}, L"Sixth argument has to be a string or nil!");
    // Ranges are tested once every argument was read.
    contours({mesh_, zero, real, one}, L"Fourth argument has to be a string or nil!");
    contours({mesh_, zero, real, kNil}, L"The interval has to be a positive number!");
    contours({mesh_, Real(-2.0), real, kNil}, L"The interval has to be a positive number!");
    contours({mesh_, real, Real(infinity), kNil}, L"The base elevation has to be a finite number!");
    contours({mesh_, real, real, kNil, Integer(0)}, L"The major step has to be 1 or more!");
    contours({mesh_, Real(1e-6), zero, kNil},
             L"The interval gives more than 1000000 contour levels!");
    // The minor lines are fine, the major layer is missing: none of them is left.
    Expect(L"kaf-contours", {mesh_, Real(2.5), zero, kNil, Integer(2), Text(L"MISSING")},
           StepLine(L"CreateContourPolylines:setLayer", Acad::eKeyNotFound));

    const auto statistics = Aborts(L"kaf-surfaceStatistics", L"surfaceStatistics");
    statistics({}, kTooFewArguments);
    statistics({text}, L"First argument has to be a handle list!");
    // A list without a handle text in it (here two points) names no mesh.
    statistics({PointList({{0, 0, 0}, {1, 1, 1}})}, L"First argument has to be a handle list!");
    statistics({StringList({pyramid_, square_})},
               L"Object " + square_ + L" is not a SubDMesh or PolyFaceMesh!");
    // A second mesh over the pyramid's first face.
    const std::wstring over = host().addSubDMesh({{0, 0, 0}, {10, 0, 0}, {5, 5, 10}}, {{0, 1, 2}});
    statistics({StringList({pyramid_, over})},
               L"Mesh " + over + L" has a face at (5.000, 1.667) that overlaps another face!");
    statistics({StringList({host().addSubDMesh({}, {})})}, L"The meshes have no vertices!");
    // Two meshes as two kaf-dct-subdmesh calls make them, the second lying inside the first:
    // its area would be counted twice.
    const std::wstring outer = host().addSubDMesh(
        {{0, 0, 10}, {100, 0, 10}, {0, 100, 10}, {100, 100, 10}}, {{0, 1, 3}, {0, 3, 2}});
    const std::wstring inner = host().addSubDMesh(
        {{30, 20, 10}, {70, 20, 10}, {30, 80, 10}, {70, 80, 10}}, {{0, 1, 3}, {0, 3, 2}});
    const std::wstring overlap =
        L"Mesh " + inner + L" has a face at (56.667, 40.000) that overlaps another face!";
    statistics({StringList({outer, inner})}, overlap);
    // Points near the largest doubles: their areas cannot be computed.
    const std::wstring far = host().addSubDMesh(
        {{-1e308, -1e308, 1}, {1e308, -1e308, 2}, {-1e308, 1e308, 3}, {1e308, 1e308, 4}},
        {{0, 1, 3}, {0, 3, 2}});
    const wchar_t* tooLarge = L"The surface's coordinates are too large to measure!";
    statistics({StringList({far})}, tooLarge);
    contours({StringList({far}), real, zero, kNil}, tooLarge);

    const auto volume = Aborts(L"kaf-volume", L"volume");
    volume({mesh_}, kTooFewArguments);
    volume({text, mesh_}, L"First argument has to be a handle list!");
    volume({mesh_, text}, L"Second argument has to be a handle list!");
    Aborts(L"kaf-volume", L"volume", StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle))(
        {mesh_, StringList({L"FFFF"})}, L"Object FFFF is not a SubDMesh or PolyFaceMesh!");
    // A neighbour whose corner at (10, 0) lies higher than the pyramid's.
    const std::wstring step =
        host().addSubDMesh({{10, 0, 1}, {20, 0, 0}, {10, 10, 0}}, {{0, 1, 2}});
    // A mesh of one face lying inside another mesh: no cut or fill can be told.
    const std::wstring inside = host().addSubDMesh({{2, 2, 5}, {8, 2, 5}, {5, 4, 5}}, {{0, 1, 2}});
    volume({StringList({pyramid_, inside}), StringList({pyramid_, inside})},
           L"Mesh " + inside + L" has a face at (5.000, 2.667) that overlaps another face!");
    volume({StringList({far}), mesh_}, tooLarge);
    volume({mesh_, StringList({far})}, tooLarge);
    volume({mesh_, StringList({pyramid_, step})},
           L"Mesh " + step +
               L" has a vertex at (10.000, 0.000) where another vertex has a different elevation!");

    const auto datum = Aborts(L"kaf-volumeToDatum", L"volumeToDatum");
    datum({mesh_}, kTooFewArguments);
    datum({mesh_, one}, L"Second argument has to be a real!");
    datum({mesh_, Real(infinity)}, L"The datum has to be a finite number!");
    datum({StringList({outer, inner}), zero}, overlap);
    datum({StringList({far}), zero}, tooLarge);
    datum({mesh_, Real(1e308)}, L"The datum is too large to measure!");
    const std::wstring broken =
        host().addSubDMesh({{20, 0, 0}, {30, 0, std::nan("")}, {20, 10, 0}}, {{0, 1, 2}});
    datum({StringList({pyramid_, broken}), zero},
          L"Mesh " + broken + L" has a vertex with a coordinate that is not a finite number!");
}

TEST_F(FunctionRefusalTest, ConstrainedMeshFunctions) {
    const LispValue points = PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    const LispValue zero = Real(0.0);
    const LispValue layer = Text(L"TIN");
    const LispValue file = StringList({L"p.txt"});
    const auto subd = Aborts(L"kaf-cdt-subdmesh", L"cdt_subdmesh");
    const auto pface = Aborts(L"kaf-cdt-pfacemesh", L"cdt_pfacemesh");
    const auto subdFiles = Aborts(L"kaf-cdt-subdmesh-withloadcsv", L"cdt_subdmesh_withloadcsv");
    const auto pfaceFiles = Aborts(L"kaf-cdt-pfacemesh-withloadcsv", L"cdt_pfacemesh_withloadcsv");
    subd({}, kTooFewArguments);
    subd({points, kNil, kNil, kNil, zero}, kTooFewArguments);
    subd({Text(L"x"), kNil, kNil, kNil, zero, layer},
         L"First argument has to be a point list or nil!");
    subd({StringList({L"x"}), kNil, kNil, kNil, zero, layer},
         L"First argument has to be a point list or nil!");
    subd({points, Text(L"A"), kNil, kNil, zero, layer},
         L"Second argument has to be a handle list or nil!");
    subd({points, kNil, StringList({L"A"}), kNil, zero, layer},
         L"Third argument has to be a handle or nil!");
    pface({points, kNil, kNil, PointList({{0, 0, 0}}), zero, layer},
          L"Fourth argument has to be a handle list or nil!");
    pface({points, kNil, kNil, kNil, Real(-0.5), layer},
          L"Fifth argument has to be a length of 0 or more!");
    pface({points, kNil, kNil, kNil, zero, Integer(1)},
          L"Sixth argument has to be a string or nil!");
    pface({points, kNil, kNil, kNil, zero, layer, Real(9.0)}, kKinds[0].notAnInteger);
    pface({points, kNil, kNil, kNil, zero, layer, Integer(32768)}, kKinds[0].outOfRange);
    subd({points, kNil, kNil, kNil, zero, layer, Integer(2)}, kKinds[1].outOfRange);
    subd({points, kNil, kNil, kNil, zero, layer, Integer(9), Real(-0.001)},
         L"Eighth argument has to be a length of 0 or more!");
    pfaceFiles({file, Text(L"XYZ"), Text(L" "), kNil, kNil, kNil, zero, layer, Integer(9), kNil},
               L"Tenth argument has to be a length of 0 or more!");
    subdFiles({kNil, Text(L"PNEZD"), Text(L","), kNil, kNil, kNil, zero, layer},
              L"First argument has to be a list of file names!");
    subdFiles({file, Text(L"PNEE"), Text(L","), kNil, kNil, kNil, zero, layer},
              L"Second argument has to be a column layout such as \"PNEZD\"!");
    pfaceFiles({file, Text(L"enz"), Text(L",;"), kNil, kNil, kNil, zero, layer},
               L"Third argument has to be a delimiter of one character!");
    pfaceFiles({file, Text(L"XYZ"), Text(L" "), kNil, kNil, kNil, Text(L"1"), layer},
               L"Seventh argument has to be a length of 0 or more!");
    // Point files that cannot be opened or hold no readable row.
    const std::wstring missing = files_.Path("missing.txt").wstring();
    const std::wstring words = File("words.txt", "x y z\nno numbers here\n");
    const auto reading = Aborts(L"kaf-cdt-pfacemesh-withloadcsv", L"cdt_pfacemesh_withloadcsv",
                                L"\nReading points ...");
    for (const std::wstring& name : {missing, words}) {
        reading({StringList({name}), Text(L"xyz"), Text(L" "), kNil, kNil, kNil, zero, kNil},
                L"File " + name +
                    (name == missing ? L" cannot be opened!"
                                     : L" has no point rows in the layout xyz!"));
    }

    // Lines that cannot serve: no polyline, no entity, a curved segment, an open boundary and one
    // crossing itself where there is no vertex.
    const LispValue corners = PointList({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    const auto lines = [&](const LispValue& breaklines, const LispValue& boundary) {
        return std::vector<LispValue>{corners, breaklines, boundary, kNil, zero, kNil};
    };
    const std::wstring open = host().addPolyline({{1, 1}, {9, 1}, {9, 9}}, 0.0, false);
    kafhost::EntityInfo curved;
    ASSERT_TRUE(host().entityInfo(open, curved));
    curved.handle.clear();
    curved.bulges = {0.0, 0.5, 0.0};
    std::wstring error;
    const std::wstring arc = host().addEntity(curved, error);
    ASSERT_FALSE(arc.empty()) << kafhost::wideToUtf8(error);
    const std::wstring bowtie = host().addPolyline({{1, 1}, {9, 9}, {9, 1}, {1, 9}}, 0.0, true);
    subd(lines(mesh_, kNil), L"Object " + pyramid_ + L" is not a 3D polyline or polyline!");
    Aborts(L"kaf-cdt-subdmesh", L"cdt_subdmesh",
           StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle))(
        lines(StringList({L"FFFF"}), kNil), L"Object FFFF is not a 3D polyline or polyline!");
    subd(lines(StringList({arc}), kNil),
         L"Object " + arc + L" has curved segments; breaklines and boundaries must be straight!");
    subd(lines(kNil, Text(open)), L"Boundary " + open + L" is not closed!");
    Expect(L"kaf-cdt-subdmesh", lines(kNil, Text(bowtie)),
           kStart +
               L"Boundaries must not cross themselves or each other!\n"
               L"The boundaries cross at (5.000, 5.000).\n",
           Outcome::kFailedWithoutResult);

    // A hole that covers everything, and a point that is not finite.
    const std::wstring cover =
        host().addPolyline({{-5, -5}, {15, -5}, {15, 15}, {-5, 15}}, 0.0, true);
    Expect(L"kaf-cdt-subdmesh",
           {PointList({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}), kNil, kNil,
            StringList({cover}), zero, kNil},
           kStart + L"No triangle is left inside the boundaries!\n", Outcome::kFailedWithoutResult);
    Expect(L"kaf-cdt-pfacemesh",
           {PointList({{0, 0, 0}, {1, 0, INFINITY}, {0, 1, 0}}), kNil, kNil, kNil, zero, kNil},
           kStart + L"Coordinates must be finite numbers!\n", Outcome::kFailedWithoutResult);
}

TEST_F(FunctionRefusalTest, PointListFunctionsWithoutMeshes) {
    const LispValue line = PointList({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}});
    const LispValue twoPositions = PointList({{0, 0, 0}, {1, 1, 0}, {1, 1, 3}, {0, 0, 2}});
    for (const LispValue& points :
         {PointList({{2, 3, 4}}), PointList({{0, 0, 0}, {1, 1, 0}}), twoPositions}) {
        Expect(L"kaf-dct", {points}, kTooFew);
        Expect(L"kaf-dct-pface", {points}, kTooFew);
        Expect(L"triangulate", {points}, L"", Outcome::kNil);
    }
    for (const wchar_t* function : {L"kaf-dct", L"kaf-dct-pface"}) {
        Expect(function, {}, kTooFew);
    }
    Expect(L"triangulate", {}, L"", Outcome::kNil);
    Expect(L"kaf-dct", {line}, L"", Outcome::kNil);
    Expect(L"triangulate", {line}, L"", Outcome::kNil);
}

}  // namespace
