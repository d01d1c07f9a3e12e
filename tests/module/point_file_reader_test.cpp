// Point files as users feed them to kaf-dct-subdmesh-withloadcsv: delimiters, empty and blank
// fields and rows, line ends, a last line without a line feed, bad rows and missing files, shown
// in a message box captioned "Nimbora" and ending the read with "canceled".
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "kafhost/utf8_to_wide.h"
#include "module_fixture.h"
#include "support/files.h"

namespace {

using kafhost::LispValue;
using kafhost::Point3;

class PointFileReaderTest : public ModuleTest {
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
        std::vector<LispValue> names;
        for (const std::wstring& file : files) {
            names.push_back(LispValue::string(file));
        }
        return Call(L"kaf-dct-subdmesh-withloadcsv",
                    {LispValue::list(names), LispValue::string(delimiter), LispValue::nil(),
                     LispValue::real(transX), LispValue::real(transY), LispValue::real(scaleZ)});
    }

    // The vertices of the one mesh the call made, sorted.
    static std::vector<Point3> MeshVertices(const kafhost::CallResult& result) {
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_EQ(result.value.items().size(), 1u) << kafhost::wideToUtf8(result.printed);
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

TEST_F(PointFileReaderTest, ReadsShiftsAndScalesEveryRowAndPrintsTheRun) {
    const std::wstring file = Write("points.csv", "0;0;1\n10;0;2\n0;10;3\n1e1;1E1;-0.5\n");
    const auto result = Read({file}, L";", 100.0, 200.0, 2.0);
    EXPECT_EQ(MeshVertices(result),
              (std::vector<Point3>{{100, 200, 2}, {100, 210, 6}, {110, 200, 4}, {110, 210, -1}}));
    EXPECT_EQ(result.printed,
              L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... finished"
              L"\nVertex count: 4\nStart Calculation ... ready after 0.000000 seconds"
              L"\nCreate Mesh ... finished");
    EXPECT_TRUE(host().messageBoxes().empty());
    // The meter was labelled with the file's name and is gone again.
    const auto& events = host().meterEvents();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const kafhost::MeterEvent& e) {
        return e.kind == kafhost::MeterEvent::Kind::kShow && e.label == file;
    }));
    EXPECT_FALSE(host().meter().shown);
    EXPECT_EQ(host().registeredFilterCount(), 0u);
}

TEST_F(PointFileReaderTest, FileNamesBeyondAsciiOpenAndAreShownAsGiven) {
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

TEST_F(PointFileReaderTest, EmptyFieldsAreSkippedAndOnlyTheDelimitersFirstCharacterSplits) {
    const std::wstring semicolons = Write("a.csv", ";;1;;2;3;\n;;4;;5;6;7;\n0;9;8\n");
    EXPECT_EQ(MeshVertices(Read({semicolons}, L";")),
              (std::vector<Point3>{{0, 9, 8}, {1, 2, 3}, {4, 5, 6}}));
    // With ", " only the comma separates; the blanks after it are part of the numbers' fields.
    const std::wstring commas = Write("b.csv", "1, 2, 3\n4 ,5,  6\n0,9,8\n");
    EXPECT_EQ(MeshVertices(Read({commas}, L", ")),
              (std::vector<Point3>{{0, 9, 8}, {1, 2, 3}, {4, 5, 6}}));
}

TEST_F(PointFileReaderTest, CarriageReturnLineFeedReadsLikeLineFeed) {
    const std::wstring crlf = Write("crlf.csv", "0;0;1\r\n5;0;2\r\n0;5;3\r\n");
    EXPECT_EQ(MeshVertices(Read({crlf}, L";")),
              (std::vector<Point3>{{0, 0, 1}, {0, 5, 3}, {5, 0, 2}}));
}

TEST_F(PointFileReaderTest, UnterminatedLastLineIsReadAsTheLastRow) {
    const std::wstring file = Write("tail.csv", "0;0;1\n5;0;2\n0;5;3\n9;9;9");
    const auto result = Read({file}, L";");
    EXPECT_NE(result.printed.find(L"\nVertex count: 4\n"), std::wstring::npos)
        << kafhost::wideToUtf8(result.printed);
    EXPECT_EQ(MeshVertices(result),
              (std::vector<Point3>{{0, 0, 1}, {0, 5, 3}, {5, 0, 2}, {9, 9, 9}}));

    // A file of one line: one row, one point, which is too few to triangulate.
    StartOver();
    const std::wstring single = Write("single.csv", "1;2;3");
    const auto alone = Read({single}, L";");
    EXPECT_EQ(alone.status, RSERR);
    EXPECT_FALSE(alone.resultSet);
    EXPECT_EQ(alone.printed,
              L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... finished"
              L"\nVertex count: 1\nStart Calculation ... A minimum of 3 vertices are required!\n");
    EXPECT_TRUE(host().messageBoxes().empty());

    // The unterminated row keeps its number, and a carriage return at its end is no part of it.
    StartOver();
    const std::wstring bad = Write("bad_tail.csv", "0;0;1\r\n\r\n5;0;X\r");
    ExpectCanceled(Read({bad}, L";"), L"Can not parse row 3:\n\n5;0;X\n\nin file '" + bad);
}

TEST_F(PointFileReaderTest, LinesLongerThanAReadBlockAreReadWhole) {
    const std::string padding(3000000, ' ');
    const std::wstring file =
        Write("long.csv", "0;0;1\n5;" + padding + "0;2\n0;5;" + padding + "3\n");
    EXPECT_EQ(MeshVertices(Read({file}, L";")),
              (std::vector<Point3>{{0, 0, 1}, {0, 5, 3}, {5, 0, 2}}));
}

TEST_F(PointFileReaderTest, BlankRowsCountAsRowsButAddNoPoint) {
    const std::wstring file =
        Write("blank.csv", "0;0;0\n1;0;0\n\n2;0;1\n0;1;0\n\r\n1;1;1\n2;1;0\n0;2;2\n1;2;0\n");
    const auto result = Read({file}, L";");
    EXPECT_NE(result.printed.find(L"\nVertex count: 10\n"), std::wstring::npos)
        << kafhost::wideToUtf8(result.printed);
    EXPECT_EQ(MeshVertices(result).size(), 8u);
}

TEST_F(PointFileReaderTest, BadRowsShowTheRowNumberTheLineAndTheFile) {
    const std::wstring letter = Write("letter.csv", "0;0;0\n\n1.5;2.5;3.5;X\n");
    ExpectCanceled(Read({letter}, L";"),
                   L"Can not parse row 3:\n\n1.5;2.5;3.5;X\n\nin file '" + letter);

    StartOver();
    const std::wstring blankField = Write("blank_field.csv", "1,2,3, \r\n");
    ExpectCanceled(Read({blankField}, L","),
                   L"Can not parse row 1:\n\n1,2,3, \n\nin file '" + blankField);

    StartOver();
    const std::wstring twoNumbersInAField = Write("two.csv", "1;2 3;4\n");
    ExpectCanceled(Read({twoNumbersInAField}, L";"),
                   L"Can not parse row 1:\n\n1;2 3;4\n\nin file '" + twoNumbersInAField);

    StartOver();
    const std::wstring tooFew = Write("few.csv", "0;0;0\n1;;2\n");
    ExpectCanceled(Read({tooFew}, L";"), L"Too few values in row 2:\n\n1;;2\n\nin file '" + tooFew);

    StartOver();
    // An empty delimiter splits nothing: the row is one field.
    const std::wstring plain = Write("plain.csv", "1;2;3\n");
    ExpectCanceled(Read({plain}, L""), L"Can not parse row 1:\n\n1;2;3\n\nin file '" + plain);
}

TEST_F(PointFileReaderTest, HeaderAndByteOrderMarkFailAtRowOne) {
    const std::wstring header = Write("header.csv", "x;y;z\n0;0;0\n1;0;0\n0;1;0\n");
    ExpectCanceled(Read({header}, L";"), L"Can not parse row 1:\n\nx;y;z\n\nin file '" + header);

    StartOver();
    const std::wstring bom = Write("bom.csv",
                                   "\xEF\xBB\xBF"
                                   "0;0;0\n1;0;0\n0;1;0\n");
    // Every byte is one character: the mark shows as its three bytes.
    ExpectCanceled(Read({bom}, L";"),
                   L"Can not parse row 1:\n\n\xEF\xBB\xBF"
                   L"0;0;0\n\nin file '" +
                       bom);
}

TEST_F(PointFileReaderTest, SeveralFilesAddTheirRowCountsAndStopAtTheFirstFailure) {
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

TEST_F(PointFileReaderTest, MissingFileEndsTheReadWithNotFound) {
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

}  // namespace
