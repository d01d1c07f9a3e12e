// The surface functions' refusals: argument errors in argument order (ranges after all arguments
// were read), handles that lead to no mesh, meshes that make no surface, and what the surface or
// the drawing cannot give. Each ends the call with nil and the exact error lines, and writes
// nothing.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/error_lines.h"
#include "surface_fixture.h"

namespace {

using kafhost::LispValue;

struct ErrorCase {
    std::vector<LispValue> args;
    const wchar_t* message;
};

struct FunctionErrors {
    const wchar_t* function;
    const wchar_t* label;
    std::vector<ErrorCase> cases;
};

class SurfaceFunctionErrorTest : public SurfaceTest {
protected:
    // Calls the function and checks that it ended with nil after exactly the printed lines and
    // left the drawing as it was.
    static void ExpectRefused(const wchar_t* function, const std::vector<LispValue>& args,
                              const std::wstring& printed) {
        SCOPED_TRACE(kafhost::wideToUtf8(function));
        const std::size_t entities = LiveEntities().size();
        ExpectFailedWithNil(Call(function, args), printed);
        EXPECT_EQ(LiveEntities().size(), entities);
        EXPECT_FALSE(host().meter().shown);
    }
};

TEST_F(SurfaceFunctionErrorTest, ArgumentErrorsStopAtTheFirstBadArgument) {
    const LispValue mesh = StringList({Pyramid()});
    const LispValue real = LispValue::real(1.0);
    const LispValue zero = LispValue::real(0.0);
    const LispValue one = LispValue::integer(1);
    const LispValue nil = LispValue::nil();
    const LispValue text = LispValue::string(L"0");
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<FunctionErrors> functions = {
        {L"kaf-contours",
         L"contours",
         {{{}, L"Too few arguments!"},
          {{mesh, real, real}, L"Too few arguments!"},
          {{text, real, real, nil}, L"First argument has to be a handle list!"},
          {{mesh, one, real, nil}, L"Second argument has to be a real!"},
          {{mesh, real, one, nil}, L"Third argument has to be a real!"},
          {{mesh, real, real, one}, L"Fourth argument has to be a string or nil!"},
          {{mesh, real, real, nil, real}, L"Fifth argument has to be an integer!"},
          {{mesh, real, real, nil, one, one}, L"Sixth argument has to be a string or nil!"},
          // Ranges are tested once every argument was read.
          {{mesh, zero, real, one}, L"Fourth argument has to be a string or nil!"},
          {{mesh, zero, real, nil}, L"The interval has to be a positive number!"},
          {{mesh, LispValue::real(-2.0), real, nil}, L"The interval has to be a positive number!"},
          {{mesh, real, LispValue::real(infinity), nil},
           L"The base elevation has to be a finite number!"},
          {{mesh, real, real, nil, LispValue::integer(0)},
           L"The major step has to be 1 or more!"}}},
        {L"kaf-surfaceStatistics",
         L"surfaceStatistics",
         {{{}, L"Too few arguments!"},
          {{text}, L"First argument has to be a handle list!"},
          // A list without a handle text in it (here two points) names no mesh.
          {{PointList({{0, 0, 0}, {1, 1, 1}})}, L"First argument has to be a handle list!"}}},
        {L"kaf-volume",
         L"volume",
         {{{mesh}, L"Too few arguments!"},
          {{text, mesh}, L"First argument has to be a handle list!"},
          {{mesh, text}, L"Second argument has to be a handle list!"}}},
        {L"kaf-volumeToDatum",
         L"volumeToDatum",
         {{{mesh}, L"Too few arguments!"}, {{mesh, one}, L"Second argument has to be a real!"}}},
    };
    for (const FunctionErrors& function : functions) {
        for (const ErrorCase& error : function.cases) {
            SCOPED_TRACE(kafhost::wideToUtf8(error.message));
            ExpectRefused(function.function, error.args, Aborted(function.label, error.message));
        }
    }
}

TEST_F(SurfaceFunctionErrorTest, HandleThatLeadsToNoMeshIsNamed) {
    const std::wstring pyramid = Pyramid();
    const std::wstring outline = host().addPolyline({{0, 0}, {1, 0}, {1, 1}}, 0.0, true);
    const std::wstring notMesh = L"Object " + outline + L" is not a SubDMesh or PolyFaceMesh!";
    ExpectRefused(L"kaf-surfaceStatistics", {StringList({pyramid, outline})},
                  Aborted(L"surfaceStatistics", notMesh));
    ExpectRefused(L"kaf-volume", {StringList({pyramid}), StringList({L"FFFF"})},
                  StepLine(L"GetEntity:getAcDbObjectId", Acad::eUnknownHandle) +
                      Aborted(L"volume", L"Object FFFF is not a SubDMesh or PolyFaceMesh!"));
}

TEST_F(SurfaceFunctionErrorTest, MeshesThatMakeNoSurfaceAreNamedWithTheFault) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::wstring pyramid = Pyramid();
    const std::wstring broken =
        host().addSubDMesh({{20, 0, 0}, {30, 0, nan}, {20, 10, 0}}, {{0, 1, 2}});
    ExpectRefused(L"kaf-volumeToDatum", {StringList({pyramid, broken}), LispValue::real(0.0)},
                  Aborted(L"volumeToDatum", L"Mesh " + broken +
                                                L" has a vertex with a coordinate that is not a "
                                                L"finite number!"));

    // A second mesh over the pyramid's first face.
    const std::wstring over = host().addSubDMesh({{0, 0, 0}, {10, 0, 0}, {5, 5, 10}}, {{0, 1, 2}});
    ExpectRefused(
        L"kaf-surfaceStatistics", {StringList({pyramid, over})},
        Aborted(L"surfaceStatistics", L"Mesh " + over +
                                          L" has a face at (5.000, 1.667) that overlaps another "
                                          L"face!"));

    // A neighbour whose corner at (10, 0) lies higher than the pyramid's.
    const std::wstring step =
        host().addSubDMesh({{10, 0, 1}, {20, 0, 0}, {10, 10, 0}}, {{0, 1, 2}});
    ExpectRefused(L"kaf-volume", {StringList({pyramid}), StringList({pyramid, step})},
                  Aborted(L"volume", L"Mesh " + step +
                                         L" has a vertex at (10.000, 0.000) where another vertex "
                                         L"has a different elevation!"));
}

TEST_F(SurfaceFunctionErrorTest, SurfaceOrDrawingThatCannotGiveTheResult) {
    const std::wstring pyramid = Pyramid();
    ExpectRefused(
        L"kaf-contours",
        {StringList({pyramid}), LispValue::real(1e-6), LispValue::real(0.0), LispValue::nil()},
        Aborted(L"contours", L"The interval gives more than 1000000 contour levels!"));
    ExpectRefused(L"kaf-volumeToDatum",
                  {StringList({pyramid}), LispValue::real(std::numeric_limits<double>::infinity())},
                  Aborted(L"volumeToDatum", L"The datum has to be a finite number!"));
    ExpectRefused(L"kaf-surfaceStatistics", {StringList({host().addSubDMesh({}, {})})},
                  Aborted(L"surfaceStatistics", L"The meshes have no vertices!"));
    // The minor lines are fine, the major layer is missing: none of them is left.
    ExpectRefused(L"kaf-contours",
                  {StringList({pyramid}), LispValue::real(2.5), LispValue::real(0.0),
                   LispValue::nil(), LispValue::integer(2), LispValue::string(L"MISSING")},
                  StepLine(L"CreateContourPolylines:setLayer", Acad::eKeyNotFound));
}

}  // namespace
