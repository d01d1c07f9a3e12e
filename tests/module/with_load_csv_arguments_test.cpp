// The argument walk of kaf-dct-pfacemesh-withloadcsv and kaf-dct-subdmesh-withloadcsv: their
// error texts, defaults, the maximum's range, the choice of writer by the rows read, and how
// triangulator failures and points on one line end the call. (Failing host calls of the writers
// are met with the injected failures.)
#include <string>
#include <vector>

#include "module_fixture.h"
#include "support/error_lines.h"
#include "support/files.h"

namespace {

using kafhost::LispValue;

struct Variant {
    const wchar_t* function;
    const wchar_t* step;
    const wchar_t* notAnInteger;
    const wchar_t* outOfRange;
    std::int32_t largest;
    const wchar_t* splitAnnouncement;
};

const Variant kPolyface = {
    L"kaf-dct-pfacemesh-withloadcsv",
    L"dct_pfacemesh",
    L"The maximum size of points in a polyfacemesh has to be an integer!",
    L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!",
    32767,
    L"\rPolyFaceMesh 1/min"};
const Variant kSubdivision = {
    L"kaf-dct-subdmesh-withloadcsv",
    L"dct_subdmesh",
    L"The maximum size of points in a subdmesh has to be an integer!",
    L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!",
    3000000,
    L"\rMesh 1/min"};
const Variant kVariants[] = {kPolyface, kSubdivision};

const std::wstring kLoaded = L"\nPlease wait ...\n\nLoading files ... finished.";

class WithLoadCsvArgumentsTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        host().setMessageBoxEcho(false);
        file_ = files_.Write("p.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n").wstring();
    }

    LispValue Files() const { return LispValue::list({LispValue::string(file_)}); }

    // The full argument list with the maximum given, each argument replaceable.
    std::vector<LispValue> Arguments(const LispValue& maximum) const {
        return {Files(),
                LispValue::string(L";"),
                LispValue::nil(),
                LispValue::real(0),
                LispValue::real(0),
                LispValue::real(1),
                maximum};
    }

    static void ExpectArgumentError(const kafhost::CallResult& result,
                                    const std::wstring& printed) {
        ExpectFailedWithNil(result, printed);
        EXPECT_TRUE(host().snapshot().entities.empty());
    }

    // A successful call: one handle per mesh made.
    static std::size_t MeshesMade(const kafhost::CallResult& result) {
        EXPECT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
        EXPECT_EQ(result.value.kind(), LispValue::Kind::kList);
        return result.value.items().size();
    }

    TempFolder files_;
    std::wstring file_;
};

// An empty file list, as a chain: no file name is found before the delimiter.
TEST_F(WithLoadCsvArgumentsTest, EmptyFileListIsNoFiles) {
    const kafhost::Chain noNames = kafhost::ChainBuilder().lb().le().str(L";").build();
    for (const Variant& v : kVariants) {
        host().reset();
        ExpectArgumentError(
            CallWithChain(v.function, noNames.get()),
            L"\nPlease wait ...\n\nLoading files ... " + Aborted(L"parseCSV", L"No files!"));
    }
}

TEST_F(WithLoadCsvArgumentsTest, ArgumentsLeftOutKeepTheirDefaults) {
    for (const Variant& v : kVariants) {
        host().reset();
        // Ends after transX: transY 0.0 and scaleZ 1.0.
        const auto result = Call(
            v.function, {Files(), LispValue::string(L";"), LispValue::nil(), LispValue::real(10)});
        ASSERT_EQ(MeshesMade(result), 1u);
        kafhost::EntityInfo mesh;
        ASSERT_TRUE(host().entityInfo(result.value.items()[0].asString(), mesh));
        std::vector<kafhost::Point3> vertices = mesh.vertices;
        std::sort(vertices.begin(), vertices.end());
        EXPECT_EQ(vertices,
                  (std::vector<kafhost::Point3>{{10, 0, 1}, {10, 4, 3}, {14, 0, 2}, {14, 4, 4}}));

        host().reset();
        EXPECT_EQ(MeshesMade(Call(v.function, {Files(), LispValue::string(L";")})), 1u);
    }
}

TEST_F(WithLoadCsvArgumentsTest, MaximumBoundsAreAccepted) {
    for (const Variant& v : kVariants) {
        for (const std::int32_t maximum : {3, 32767, v.largest}) {
            host().reset();
            EXPECT_GE(MeshesMade(Call(v.function, Arguments(LispValue::integer(maximum)))), 1u)
                << maximum;
        }
    }
    host().reset();
    EXPECT_EQ(MeshesMade(Call(kSubdivision.function, Arguments(LispValue::integer(32768)))), 1u);
}

TEST_F(WithLoadCsvArgumentsTest, RowsReadNotDistinctVerticesChooseTheSplittingWriter) {
    // Five rows, four distinct positions: above a maximum of 4 although only 4 vertices remain.
    file_ = files_.Write("dup.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n4;4;4\n").wstring();
    for (const Variant& v : kVariants) {
        host().reset();
        const auto split = Call(v.function, Arguments(LispValue::integer(4)));
        EXPECT_EQ(MeshesMade(split), 2u);
        EXPECT_NE(split.printed.find(v.splitAnnouncement), std::wstring::npos);
        host().reset();
        const auto single = Call(v.function, Arguments(LispValue::integer(5)));
        EXPECT_EQ(MeshesMade(single), 1u);
        EXPECT_EQ(single.printed.find(v.splitAnnouncement), std::wstring::npos);
    }
}

TEST_F(WithLoadCsvArgumentsTest, PolyfaceVariantEndsItsTimingLineAndPrintsNoFinished) {
    const auto result = Call(kPolyface.function, Arguments(LispValue::integer(100)));
    EXPECT_EQ(MeshesMade(result), 1u);
    EXPECT_EQ(result.printed, kLoaded +
                                  L"\nParsing ... finished\nVertex count: 4"
                                  L"\nStart Calculation ... ready after 0.000000 seconds\n");
}

TEST_F(WithLoadCsvArgumentsTest, LayerIsGivenToTheMeshes) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    std::vector<LispValue> args = Arguments(LispValue::integer(100));
    args[2] = LispValue::string(L"TIN");
    const auto result = Call(kSubdivision.function, args);
    ASSERT_EQ(MeshesMade(result), 1u);
    kafhost::EntityInfo mesh;
    ASSERT_TRUE(host().entityInfo(result.value.items()[0].asString(), mesh));
    EXPECT_EQ(mesh.layer, L"TIN");
}

}  // namespace
