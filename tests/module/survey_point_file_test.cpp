// The survey point-file reader on its own: column layouts, the easting and northing columns put
// where they belong, and the listing of unreadable rows cut off after ten.
#include <string>
#include <vector>

#include "input/survey_point_file.h"
#include "module_fixture.h"
#include "support/files.h"

namespace {

TEST(SurveyLayout, LettersNameTheColumnsOnceEachAndXYZAreNeeded) {
    const struct {
        const wchar_t* layout;
        int x;
        int y;
        int z;
    } good[] = {{L"PNEZD", 2, 1, 3}, {L"PENZD", 1, 2, 3}, {L"NEZ", 1, 0, 2},
                {L"enz", 0, 1, 2},   {L"XYZ", 0, 1, 2},   {L"dpzyx", 4, 3, 2}};
    for (const auto& c : good) {
        SurveyColumns columns;
        ASSERT_TRUE(ParseSurveyLayout(c.layout, columns)) << kafhost::wideToUtf8(c.layout);
        EXPECT_EQ(columns.x, c.x);
        EXPECT_EQ(columns.y, c.y);
        EXPECT_EQ(columns.z, c.z);
        EXPECT_EQ(columns.layout, c.layout);
    }
    for (const wchar_t* bad : {L"", L"PNE", L"PNEZZ", L"NEXZ", L"PNEZDQ", L"N E Z"}) {
        SurveyColumns columns;
        EXPECT_FALSE(ParseSurveyLayout(bad, columns)) << kafhost::wideToUtf8(bad);
    }
}

class SurveyReader : public HostTest {};

TEST_F(SurveyReader, EastingIsXAndUnreadableRowsAreListedUpToTen) {
    TempFolder folder;
    std::string text = "Pt,E,N,Z\n1,100.5,200.25,3\n";
    for (int i = 0; i < 12; ++i) {
        text += "x,y,z,w\n";
    }
    text += "2,\"101\",201,4,extra\n";
    const std::wstring name = folder.Write("penz.csv", text).wstring();
    SurveyColumns columns;
    ASSERT_TRUE(ParseSurveyLayout(L"PENZ", columns));
    std::vector<std::array<double, 3>> points;
    SurveyReadCounts counts;
    ASSERT_TRUE(ReadSurveyPointFiles(
        {name}, columns, L',', L"test",
        [&points](double x, double y, double z) {
            points.push_back({x, y, z});
        },
        counts));
    EXPECT_EQ(points, (std::vector<std::array<double, 3>>{{100.5, 200.25, 3}, {101, 201, 4}}));
    std::wstring expected;
    for (int row = 3; row <= 12; ++row) {
        expected +=
            L"\n" + name + L", row " + std::to_wstring(row) + L" cannot be read and is skipped.";
    }
    expected +=
        L"\nFurther rows that cannot be read are not listed."
        L"\nRows read: 2, skipped: 13, duplicate plan positions: 0";
    EXPECT_EQ(host().commandLine(), expected);
}

}  // namespace
