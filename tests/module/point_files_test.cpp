// Point files as users feed them to kaf-dct-pfacemesh-withloadcsv and
// kaf-dct-subdmesh-withloadcsv: delimiters, empty and blank fields and rows, line ends, a last
// line without a line feed, long lines, bad rows and missing files, shown in a message box
// captioned "Nimbora" and ending the read with "canceled"; the arguments left out, the maximum's
// bounds and the choice of writer by the rows read; the path a wide file name opens (U+DC80 ...
// U+DCFF put back as the bytes a name that is not UTF-8 was read from, every other character
// encoded as UTF-8). (Refused arguments are in the refusal tables, failing host calls of the
// writers with the injected failures.)
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "input/path_from_wide.h"
#include "kafhost/utf8_to_wide.h"
#include "module_fixture.h"
#include "support/error_lines.h"
#include "support/files.h"

namespace {

using kafhost::LispValue;
using kafhost::Point3;

constexpr const wchar_t* kPolyface = L"kaf-dct-pfacemesh-withloadcsv";
constexpr const wchar_t* kSubdivision = L"kaf-dct-subdmesh-withloadcsv";

class PointFileTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        host().setMessageBoxEcho(false);
    }

    // A fresh host within a test, message boxes kept off the terminal as in SetUp.
    static void StartOver() {
        host().reset();
        host().setMessageBoxEcho(false);
    }

    // Calls kaf-dct-subdmesh-withloadcsv on the files with the delimiter, no layer, the shift
    // and scale given.
    static kafhost::CallResult Read(const std::vector<std::wstring>& files,
                                    const std::wstring& delimiter, double transX = 0.0,
                                    double transY = 0.0, double scaleZ = 1.0) {
        return Call(kSubdivision,
                    {StringList(files), LispValue::string(delimiter), LispValue::nil(),
                     LispValue::real(transX), LispValue::real(transY), LispValue::real(scaleZ)});
    }

    // The function's full argument list for the file, with the maximum given.
    static std::vector<LispValue> Arguments(const std::wstring& file, int maximum) {
        return {StringList({file}),         LispValue::string(L";"), LispValue::nil(),
                LispValue::real(0),         LispValue::real(0),      LispValue::real(1),
                LispValue::integer(maximum)};
    }

    // A successful call: one handle per mesh made.
    static std::size_t MeshesMade(const kafhost::CallResult& result) {
        EXPECT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
        EXPECT_EQ(result.value.kind(), LispValue::Kind::kList);
        return result.value.items().size();
    }

    // The vertices of the one mesh the call made, sorted.
    static std::vector<Point3> MeshVertices(const kafhost::CallResult& result) {
        EXPECT_EQ(MeshesMade(result), 1u) << kafhost::wideToUtf8(result.printed);
        if (result.value.items().size() != 1) {
            return {};
        }
        kafhost::EntityInfo mesh;
        EXPECT_TRUE(host().entityInfo(result.value.items()[0].asString(), mesh));
        std::vector<Point3> vertices = mesh.vertices;
        std::sort(vertices.begin(), vertices.end());
        return vertices;
    }

    // The call ended at a bad point file: the one message box, "canceled", nil with RSRSLT.
    static void ExpectCanceled(const kafhost::CallResult& result, const std::wstring& boxText) {
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_TRUE(result.resultSet);
        EXPECT_TRUE(result.value.isNil());
        EXPECT_NE(result.printed.find(L"\nParsing ... canceledfinished"), std::wstring::npos)
            << kafhost::wideToUtf8(result.printed);
        ASSERT_EQ(host().messageBoxes().size(), 1u);
        const kafhost::MessageBoxRecord& box = host().messageBoxes()[0];
        EXPECT_EQ(box.text, boxText);
        EXPECT_EQ(box.caption, L"Nimbora");
        EXPECT_EQ(box.style, MB_OK | MB_ICONERROR);
        EXPECT_EQ(box.owner, host().mainWindow());
        EXPECT_TRUE(host().snapshot().entities.empty());
        EXPECT_FALSE(host().meter().shown);
    }

    // Writes a point file; gives its full path as a file list names it.
    std::wstring Write(const std::string& name, const std::string& bytes) const {
        return files_.Write(name, bytes).wstring();
    }

    TempFolder files_;
};

TEST_F(PointFileTest, ReadsShiftsAndScalesEveryRowAndPrintsTheRun) {
    const std::wstring file = Write("points.csv", "0;0;1\n10;0;2\n0;10;3\n1e1;1E1;-0.5\n");
    const auto result = Read({file}, L";", 100.0, 200.0, 2.0);
    EXPECT_EQ(MeshVertices(result),
              (std::vector<Point3>{{100, 200, 2}, {100, 210, 6}, {110, 200, 4}, {110, 210, -1}}));
    EXPECT_EQ(result.printed,
              L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... finished"
              L"\nVertex count: 4\nStart Calculation ... ready after 0.000000 seconds"
              L"\nCreate Mesh ... finished");
    EXPECT_TRUE(host().messageBoxes().empty());
    EXPECT_FALSE(host().meter().shown);
    EXPECT_EQ(host().registeredFilterCount(), 0u);
}

TEST_F(PointFileTest, FileNamesBeyondAsciiOpenAndAreShownAsGiven) {
    // Latin, Greek and U+1D538, which is a surrogate pair where wchar_t has 16 bits. The file is
    // made through its UTF-8 name; the module gets the name as the host's wide text.
    const auto wideName = [this](const std::string& utf8) {
        return kafhost::utf8ToWide((files_.Folder() / std::filesystem::u8path(utf8)).u8string());
    };
    const std::string name = "H\xC3\xB6hen \xCE\xA9 \xF0\x9D\x94\xB8.csv";
    std::ofstream(files_.Folder() / std::filesystem::u8path(name), std::ios::binary)
        << "0;0;1\n10;0;2\n0;10;3\n";
    const std::wstring file = wideName(name);
    EXPECT_EQ(MeshVertices(Read({file}, L";")),
              (std::vector<Point3>{{0, 0, 1}, {0, 10, 3}, {10, 0, 2}}));
    const auto& events = host().meterEvents();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const kafhost::MeterEvent& e) {
        return e.kind == kafhost::MeterEvent::Kind::kShow && e.label == file;
    }));

    StartOver();
    const std::wstring missing = wideName("\xF0\x9D\x94\xB8 missing.csv");
    ExpectCanceled(Read({file, missing}, L";"), L"File '" + missing + L"' not found!");
}

TEST_F(PointFileTest, RowsGiveTheirPointsWhateverTheirLayout) {
    const std::string padding(3000000, ' ');
    const struct {
        std::string bytes;
        const wchar_t* delimiter;
        int rows;
        std::vector<Point3> vertices;
    } cases[] = {
        // Empty fields are skipped and only the delimiter's first character splits.
        {";;1;;2;3;\n;;4;;5;6;7;\n0;9;8\n", L";", 3, {{0, 9, 8}, {1, 2, 3}, {4, 5, 6}}},
        // With ", " only the comma separates; the blanks after it are part of the numbers' fields.
        {"1, 2, 3\n4 ,5,  6\n0,9,8\n", L", ", 3, {{0, 9, 8}, {1, 2, 3}, {4, 5, 6}}},
        {"0;0;1\r\n5;0;2\r\n0;5;3\r\n", L";", 3, {{0, 0, 1}, {0, 5, 3}, {5, 0, 2}}},
        // An unterminated last line is the last row.
        {"0;0;1\n5;0;2\n0;5;3\n9;9;9", L";", 4, {{0, 0, 1}, {0, 5, 3}, {5, 0, 2}, {9, 9, 9}}},
        // Lines longer than a read block are read whole.
        {"0;0;1\n5;" + padding + "0;2\n0;5;" + padding + "3\n",
         L";",
         3,
         {{0, 0, 1}, {0, 5, 3}, {5, 0, 2}}},
        // Blank rows count as rows but add no point.
        {"0;0;0\n1;0;0\n\n2;0;1\n0;1;0\n\r\n1;1;1\n2;1;0\n0;2;2\n1;2;0\n",
         L";",
         10,
         {{0, 0, 0}, {0, 1, 0}, {0, 2, 2}, {1, 0, 0}, {1, 1, 1}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 40));
        StartOver();
        const auto result = Read({Write("rows.csv", c.bytes)}, c.delimiter);
        EXPECT_NE(result.printed.find(L"\nVertex count: " + std::to_wstring(c.rows) + L"\n"),
                  std::wstring::npos)
            << kafhost::wideToUtf8(result.printed);
        EXPECT_EQ(MeshVertices(result), c.vertices);
        EXPECT_TRUE(host().messageBoxes().empty());
    }
}

TEST_F(PointFileTest, BadRowsShowTheRowNumberTheLineAndTheFile) {
    const struct {
        const char* bytes;
        const wchar_t* delimiter;
        std::wstring box;  // the message box's text up to the file's name
    } cases[] = {
        {"0;0;0\n\n1.5;2.5;3.5;X\n", L";", L"Can not parse row 3:\n\n1.5;2.5;3.5;X"},
        {"1,2,3, \r\n", L",", L"Can not parse row 1:\n\n1,2,3, "},
        {"1;2 3;4\n", L";", L"Can not parse row 1:\n\n1;2 3;4"},
        {"0;0;0\n1;;2\n", L";", L"Too few values in row 2:\n\n1;;2"},
        // An empty delimiter splits nothing: the row is one field.
        {"1;2;3\n", L"", L"Can not parse row 1:\n\n1;2;3"},
        // The unterminated row keeps its number, and a carriage return at its end is no part of
        // it.
        {"0;0;1\r\n\r\n5;0;X\r", L";", L"Can not parse row 3:\n\n5;0;X"},
        {"x;y;z\n0;0;0\n1;0;0\n0;1;0\n", L";", L"Can not parse row 1:\n\nx;y;z"},
        // A byte order mark is three characters of the row, one per byte.
        {"\xEF\xBB\xBF"
         "0;0;0\n1;0;0\n0;1;0\n",
         L";",
         L"Can not parse row 1:\n\n\xEF\xBB\xBF"
         L"0;0;0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        StartOver();
        const std::wstring file = Write("bad.csv", c.bytes);
        ExpectCanceled(Read({file}, c.delimiter), c.box + L"\n\nin file '" + file);
    }
}

TEST_F(PointFileTest, SeveralFilesAddTheirRowCountsAndStopAtTheFirstFailure) {
    const std::wstring five = Write("five.csv", "0;0;0\n1;0;0\n2;0;0\n0;1;0\n1;1;0\n");
    const std::wstring seven =
        Write("seven.csv", "5;5;1\n6;5;1\n7;5;1\n5;6;1\n6;6;1\n7;6;1\n5;7;1\n");
    const auto result = Read({five, seven}, L";");
    EXPECT_NE(result.printed.find(L"\nVertex count: 12\n"), std::wstring::npos);
    EXPECT_EQ(MeshVertices(result).size(), 12u);

    StartOver();
    const std::wstring bad = Write("bad.csv", "5;5;1\n6;5;1\n7;5\n");
    ExpectCanceled(Read({five, bad, seven}, L";"),
                   L"Too few values in row 3:\n\n7;5\n\nin file '" + bad);
}

TEST_F(PointFileTest, MissingFileEndsTheReadWithNotFound) {
    const std::wstring first = Write("first.csv", "0;0;0\n1;0;0\n0;1;0\n");
    const std::wstring second = Write("second.csv", "5;5;0\n");
    const std::wstring missing = files_.Path("missing.csv").wstring();
    const auto result = Read({first, second, missing}, L";");
    ExpectCanceled(result, L"File '" + missing + L"' not found!");
    EXPECT_EQ(result.printed,
              L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... canceledfinished");

    // Only regular files are point files: a folder, a device that never ends and a named pipe
    // (which would wait for a writer) are refused before anything is read from them.
#if defined(_WIN32)
    // Windows has no named pipes among files; its null device NUL stands for the device.
    const std::vector<std::wstring> notFiles{files_.Folder().wstring(), L"NUL"};
#else
    const std::wstring pipe = files_.Path("pipe.csv").wstring();
    ASSERT_EQ(::mkfifo(kafhost::wideToUtf8(pipe).c_str(), 0600), 0);
    const std::vector<std::wstring> notFiles{files_.Folder().wstring(), L"/dev/zero", pipe};
#endif
    for (const std::wstring& name : notFiles) {
        SCOPED_TRACE(kafhost::wideToUtf8(name));
        StartOver();
        ExpectCanceled(Read({first, name}, L";"), L"File '" + name + L"' not found!");
    }
}

// An empty file list, as a chain: no file name is found before the delimiter.
TEST_F(PointFileTest, EmptyFileListIsNoFiles) {
    const kafhost::Chain noNames = kafhost::ChainBuilder().lb().le().str(L";").build();
    for (const wchar_t* function : {kPolyface, kSubdivision}) {
        host().reset();
        ExpectFailedWithNil(
            CallWithChain(function, noNames.get()),
            L"\nPlease wait ...\n\nLoading files ... " + Aborted(L"parseCSV", L"No files!"));
    }
}

TEST_F(PointFileTest, ArgumentsLeftOutKeepTheirDefaults) {
    const std::wstring file = Write("p.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n");
    for (const wchar_t* function : {kPolyface, kSubdivision}) {
        StartOver();
        // Ends after transX: transY 0.0 and scaleZ 1.0.
        EXPECT_EQ(MeshVertices(Call(function, {StringList({file}), LispValue::string(L";"),
                                               LispValue::nil(), LispValue::real(10)})),
                  (std::vector<Point3>{{10, 0, 1}, {10, 4, 3}, {14, 0, 2}, {14, 4, 4}}));
        StartOver();
        EXPECT_EQ(MeshesMade(Call(function, {StringList({file}), LispValue::string(L";")})), 1u);
    }
    // The layer is given to the mesh.
    StartOver();
    ASSERT_TRUE(host().addLayer(L"TIN"));
    std::vector<LispValue> args = Arguments(file, 100);
    args[2] = LispValue::string(L"TIN");
    const auto result = Call(kSubdivision, args);
    ASSERT_EQ(MeshesMade(result), 1u);
    kafhost::EntityInfo mesh;
    ASSERT_TRUE(host().entityInfo(result.value.items()[0].asString(), mesh));
    EXPECT_EQ(mesh.layer, L"TIN");
}

TEST_F(PointFileTest, MaximumBoundsAreAccepted) {
    const std::wstring file = Write("p.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n");
    for (const int maximum : {3, 32767}) {
        for (const wchar_t* function : {kPolyface, kSubdivision}) {
            StartOver();
            EXPECT_GE(MeshesMade(Call(function, Arguments(file, maximum))), 1u) << maximum;
        }
    }
    for (const int maximum : {32768, 3000000}) {
        StartOver();
        EXPECT_EQ(MeshesMade(Call(kSubdivision, Arguments(file, maximum))), 1u) << maximum;
    }
}

TEST_F(PointFileTest, RowsReadNotDistinctVerticesChooseTheSplittingWriter) {
    // Five rows, four distinct positions: above a maximum of 4 although only 4 vertices remain.
    const std::wstring file = Write("dup.csv", "0;0;1\n4;0;2\n0;4;3\n4;4;4\n4;4;4\n");
    for (const auto& [function, announcement] : {std::pair{kPolyface, L"\rPolyFaceMesh 1/min"},
                                                 std::pair{kSubdivision, L"\rMesh 1/min"}}) {
        StartOver();
        const auto split = Call(function, Arguments(file, 4));
        EXPECT_EQ(MeshesMade(split), 2u);
        EXPECT_NE(split.printed.find(announcement), std::wstring::npos);
        StartOver();
        const auto single = Call(function, Arguments(file, 5));
        EXPECT_EQ(MeshesMade(single), 1u);
        EXPECT_EQ(single.printed.find(announcement), std::wstring::npos);
    }
}

#ifdef _WIN32
// Windows opens files by their wide names: the name is the path, escaped bytes and all.
TEST(PathFromWideTest, WideNamesAreThePathsAsTheyAre) {
    EXPECT_EQ(PathFromWide(L"h\xDCF6he.csv").native(), L"h\xDCF6he.csv");
    EXPECT_EQ(PathFromWide(L"H\u00F6he \U0001D11E.csv").native(), L"H\u00F6he \U0001D11E.csv");
}
#else
TEST(PathFromWideTest, EscapedBytesComeBackAndTextIsUtf8) {
    // A Latin-1 name, every byte 0x80 ... 0xFF, and a name mixing text and a lone byte.
    EXPECT_EQ(PathFromWide(L"h\xDCF6he.csv").native(), "h\xF6he.csv");
    std::wstring allBytes;
    std::string expected;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        allBytes += static_cast<wchar_t>(0xDC00 + byte);
        expected += static_cast<char>(byte);
    }
    EXPECT_EQ(PathFromWide(allBytes).native(), expected);
    EXPECT_EQ(PathFromWide(L"/tmp/d\u00FCne-\xDCE4.csv").native(), "/tmp/d\xC3\xBCne-\xE4.csv");

    // Text alone, characters beyond the basic plane included, is plain UTF-8.
    EXPECT_EQ(PathFromWide(L"H\u00F6he \u65E5 \U0001D11E.csv").native(),
              "H\xC3\xB6he \xE6\x97\xA5 \xF0\x9D\x84\x9E.csv");
    // Surrogates outside the escaped bytes' range are no bytes: encoded as before.
    EXPECT_EQ(PathFromWide(std::wstring(1, static_cast<wchar_t>(0xDC7F))).native(), "\xED\xB1\xBF");
}
#endif

}  // namespace
