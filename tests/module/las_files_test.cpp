// LAS point clouds read by the survey point-file functions: every header version and point
// format family, scale and offset, the layout's LAS choices (classes, withheld, noise), and the
// refusals (LAZ, cut headers and files, counts that disagree with the size) before any mesh.
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "input/las_reader.h"
#include "input/survey_point_file.h"
#include "kafhost/utf8_to_wide.h"
#include "module_fixture.h"
#include "support/files.h"
#include "support/las_file.h"
#include "support/survey_reads.h"

namespace {

using kafhost::LispValue;

const LispValue kNil = LispValue::nil();

using Points = std::vector<std::array<double, 3>>;

// Ground (2), a building (6), a withheld ground point, low noise (7), high noise (18).
const std::vector<LasRecord> kCloud = {{0, 0, 1000, 2, false},      {1000, 0, 1100, 2, false},
                                       {0, 1000, 1200, 2, false},   {500, 500, 5000, 6, false},
                                       {1000, 1000, 1300, 2, true}, {200, 800, -900, 7, false},
                                       {800, 200, 9000, 18, false}};

class LasFiles : public ModuleTest {
protected:
    // Reads the files with the layout as the constrained functions read; the points kept, or
    // nothing when refused.
    bool Read(const std::vector<std::wstring>& files, const std::wstring& layout, Points& points) {
        SurveyReadCounts counts;
        return ReadKeepingFirsts(files, layout, L',', points, counts);
    }

    std::wstring Write(const std::string& name, const std::string& bytes) {
        return folder_.Write(name, bytes).wstring();
    }

    TempFolder folder_;
};

TEST_F(LasFiles, EveryVersionAndFormatFamilyGivesScaledOffsetCoordinates) {
    const struct {
        int minor;
        int format;
    } kinds[] = {{0, 0}, {2, 0}, {2, 1}, {2, 3}, {3, 5}, {4, 1}, {4, 6}, {4, 7}, {4, 8}, {4, 10}};
    const std::vector<LasRecord> records = {{0, 0, 0, 2, false},
                                            {150, -25, 1234, 2, false},
                                            {-2147483647 - 1, 2147483647, 7, 1, false}};
    for (const auto& kind : kinds) {
        LasFileSpec spec;
        spec.minor = kind.minor;
        spec.format = kind.format;
        spec.scale[0] = 0.01;
        spec.scale[1] = 0.001;
        spec.scale[2] = 0.5;
        spec.offset[0] = 500000.0;
        spec.offset[1] = 5400000.0;
        spec.offset[2] = -10.0;
        spec.records = {{"LASF_Projection", 10}};
        const std::string label =
            "v1." + std::to_string(kind.minor) + "_f" + std::to_string(kind.format) + ".bin";
        const std::wstring file = Write(label, LasFileBytes(spec, records));
        host().clearCommandLine();
        Points points;
        ASSERT_TRUE(Read({file}, L"PNEZD", points)) << label;
        EXPECT_EQ(points, (Points{{500000.0, 5400000.0, -10.0},
                                  {500000.0 + 150 * 0.01, 5400000.0 - 25 * 0.001, -10.0 + 617.0},
                                  {500000.0 - 2147483648.0 * 0.01, 5400000.0 + 2147483647.0 * 0.001,
                                   -10.0 + 3.5}}))
            << label;
        EXPECT_EQ(host().commandLine(),
                  L"\n" + file + L": LAS 1." + std::to_wstring(kind.minor) + L", point format " +
                      std::to_wstring(kind.format) +
                      L", 3 points, 3 kept\nRows read: 3, skipped: 0, duplicate plan positions: 0")
            << label;
    }
}

TEST_F(LasFiles, LayoutChoicesKeepClassesAndLeaveOutWithheldAndNoise) {
    for (const int format : {1, 6}) {
        LasFileSpec spec;
        spec.minor = 4;
        spec.format = format;
        const std::wstring file =
            Write("cloud" + std::to_string(format) + ".las", LasFileBytes(spec, kCloud));
        const struct {
            const wchar_t* layout;
            Points kept;
        } cases[] = {
            {L"XYZ",
             {{0, 0, 10},
              {10, 0, 11},
              {0, 10, 12},
              {5, 5, 50},
              {10, 10, 13},
              {2, 8, -9},
              {8, 2, 90}}},
            {L"XYZ class=2", {{0, 0, 10}, {10, 0, 11}, {0, 10, 12}, {10, 10, 13}}},
            {L"xyz CLASS=2 NoWithheld", {{0, 0, 10}, {10, 0, 11}, {0, 10, 12}}},
            {L"XYZ class=6,2 nowithheld", {{0, 0, 10}, {10, 0, 11}, {0, 10, 12}, {5, 5, 50}}},
            {L"XYZ nonoise", {{0, 0, 10}, {10, 0, 11}, {0, 10, 12}, {5, 5, 50}, {10, 10, 13}}},
        };
        for (const auto& c : cases) {
            Points points;
            ASSERT_TRUE(Read({file}, c.layout, points)) << kafhost::wideToUtf8(c.layout);
            EXPECT_EQ(points, c.kept) << format << " " << kafhost::wideToUtf8(c.layout);
        }
    }
    SurveyColumns columns;
    for (const wchar_t* bad :
         {L"XYZ class=", L"XYZ class=256", L"XYZ class=2,", L"XYZ class=2 class=3",
          L"XYZ nonoise nonoise", L"XYZ ground", L"class=2", L"XYZ class=-1"}) {
        EXPECT_FALSE(ParseSurveyLayout(bad, columns)) << kafhost::wideToUtf8(bad);
    }
}

TEST_F(LasFiles, SignatureNotNameDecidesAndTextFilesStayText) {
    LasFileSpec spec;
    const std::wstring las = Write("points.csv", LasFileBytes(spec, {{100, 200, 300, 2, false}}));
    const std::wstring text = Write("cloud.las", "7,8,9\n");
    Points points;
    ASSERT_TRUE(Read({las, text, las}, L"XYZ", points));
    EXPECT_EQ(points, (Points{{1, 2, 3}, {7, 8, 9}}));
    EXPECT_EQ(host().commandLine(), L"\n" + las + L": LAS 1.2, point format 0, 1 points, 1 kept\n" +
                                        las +
                                        L": LAS 1.2, point format 0, 1 points, 1 kept"
                                        L"\nRows read: 2, skipped: 0, duplicate plan positions: 1");
}

TEST_F(LasFiles, BrokenAndCompressedFilesAreRefusedWithTheirReason) {
    LasFileSpec plain;
    plain.minor = 4;
    plain.format = 6;
    const std::string good = LasFileBytes(plain, kCloud);
    LasFileSpec laz = plain;
    laz.formatByte = 0x80 | 6;
    LasFileSpec lazRecord;
    lazRecord.records = {{"laszip encoded", 40}};
    LasFileSpec unknownFormat;
    unknownFormat.formatByte = 11;
    LasFileSpec zeroScale;
    zeroScale.scale[2] = 0.0;
    std::string badVersion = good;
    badVersion[25] = 5;
    std::string shortRecords = good;
    shortRecords[105] = 29;
    std::string countsDisagree = LasFileBytes(LasFileSpec{}, kCloud);
    countsDisagree[107] = 8;
    const std::string lazText =
        "it is a compressed LAZ file; decompress it to LAS first (for example with laszip or pdal "
        "translate)";
    const struct {
        std::string bytes;
        std::string why;
    } cases[] = {
        {LasFileBytes(laz, kCloud), lazText},
        {LasFileBytes(lazRecord, kCloud), lazText},
        {good.substr(0, good.size() - 5),
         "the header counts 7 points, but the file holds 205 bytes of point records"},
        {good + "x", "the header counts 7 points, but the file holds 211 bytes of point records"},
        {countsDisagree,
         "the header counts 8 points, but the file holds 140 bytes of point records"},
        {good.substr(0, 300), "the header size 375 does not fit version 1.4"},
        {good.substr(0, 100), "the header is cut short"},
        {badVersion, "version 1.5 is not known"},
        {shortRecords, "a point record of 29 bytes is too short for point data format 6"},
        {LasFileBytes(unknownFormat, kCloud), "point data format 11 is not known"},
        {LasFileBytes(zeroScale, kCloud),
         "a scale factor or offset is zero or not a finite number"},
    };
    for (const auto& c : cases) {
        const std::wstring file = Write("broken.las", c.bytes);
        host().clearCommandLine();
        Points points;
        EXPECT_FALSE(Read({file}, L"XYZ", points)) << c.why;
        EXPECT_TRUE(points.empty()) << c.why;
        EXPECT_EQ(host().commandLine(), L"[Module 'kaf'] Error in function 'test': File " + file +
                                            L" is no readable LAS file: " +
                                            kafhost::utf8ToWide(c.why) + L"!\nFunction aborted!\n")
            << c.why;
    }
}

TEST_F(LasFiles, ClassesThatKeepNothingEndTheFunctionBeforeAnyMesh) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const std::wstring file = Write("cloud.las", LasFileBytes(LasFileSpec{}, kCloud));
    const auto call = [&](const wchar_t* layout) {
        return Call(L"kaf-cdt-subdmesh-withloadcsv",
                    {StringList({file}), LispValue::string(layout), LispValue::string(L","), kNil,
                     kNil, kNil, LispValue::real(0.0), LispValue::string(L"TIN")});
    };
    const kafhost::CallResult ground = call(L"XYZ class=2 nowithheld");
    EXPECT_EQ(ground.status, RSRSLT);
    ASSERT_EQ(host().snapshot().entities.size(), 1u);
    EXPECT_EQ(host().snapshot().entities[0].vertices.size(), 3u);

    const kafhost::CallResult none = call(L"XYZ class=9");
    EXPECT_EQ(none.printed,
              L"\nReading points ...\n" + file + L": LAS 1.2, point format 0, 7 points, 0 kept" +
                  L"\n[Module 'kaf'] Error in function 'cdt_subdmesh_withloadcsv': File " + file +
                  L" has no point the layout keeps!\nFunction aborted!\n");
    EXPECT_EQ(host().snapshot().entities.size(), 1u);
}

}  // namespace
