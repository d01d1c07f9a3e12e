// File names that are not UTF-8 (a Latin-1 name in a script) reach the file system byte for byte
// when the module's point-file functions open them, and are shown without their raw bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lisp/byte_text.h"
#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "support/files.h"

namespace {

using kafhost::EntityKind;

TEST(ByteTextTest, BytesThatAreNotUtf8RoundTripAndUtf8TextDecodesAsBefore) {
    for (const std::string bytes : {"h\xF6he.csv", "\x80\xFF", "caf\xC3\xA9-\xE9", "\xC3",
                                    "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0\xAF"}) {
        const std::wstring wide = kafcad::BytesToWide(bytes);
        EXPECT_EQ(kafcad::WideToBytes(wide), bytes);
        for (const wchar_t c : wide) {
            EXPECT_TRUE(c < 0x80 || c == 0xE9 || (c >= 0xDC80 && c <= 0xDCFF)) << bytes;
        }
    }
    EXPECT_EQ(kafcad::BytesToWide("h\xF6he"), L"h\xDCF6he");
    EXPECT_EQ(kafcad::BytesToWide("H\xC3\xB6he \xE6\x97\xA5 \xF0\x9D\x84\x9E"),
              L"H\u00F6he \u65E5 \U0001D11E");
    EXPECT_EQ(kafcad::WideToBytes(L"H\u00F6he \u65E5 \U0001D11E"),
              "H\xC3\xB6he \xE6\x97\xA5 \xF0\x9D\x84\x9E");
}

TEST(ByteFileNamesTest, PointFilesWithLatin1NamesMakeTheirMeshes) {
    TempFolder folder;
    const std::string points = "0,0,1\n10,0,2\n0,10,3\n10,10,4\n";
    folder.Write("h\xF6he.csv", points);
    folder.Write("d\xC3\xBCne-\xE4.csv", "20,0,5\n20,10,6\n");
    // Wrong files the names would reach if the bytes were decoded and re-encoded.
    folder.Write("h\xEF\xBF\xBDhe.csv", "0,0,9\n");
    folder.Write("h\xC3\xB6he.csv", "0,0,9\n");
    folder.Write("run.lsp",
                 "(princ (length (kaf-dct-subdmesh-withloadcsv '(\"h\xF6he.csv\") \",\" \"TIN\" "
                 "0.0 0.0 1.0)))\n");
    const std::string pface =
        "(length (kaf-dct-pfacemesh-withloadcsv '(\"h\xF6he.csv\" \"d\xC3\xBCne-\xE4.csv\") "
        "\",\" \"TIN\" 0.0 0.0 1.0))";
    const KafcadRun run =
        RunKafcadProcess({"--layer", "TIN", "--save", "out.json", "run.lsp", "-e", pface}, "",
                         folder.Folder().string());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");  // no progress meter when standard error is no terminal
    EXPECT_NE(run.out.find("Vertex count: 4\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Vertex count: 6\n"), std::string::npos) << run.out;

    const kafhost::DrawingSnapshot drawing =
        kafhost::loadDrawingFile(folder.Path("out.json").string());
    ASSERT_EQ(drawing.entities.size(), 2u);
    EXPECT_EQ(drawing.entities[0].type, EntityKind::kSubDMesh);
    EXPECT_EQ(drawing.entities[0].vertices.size(), 4u);
    EXPECT_EQ(drawing.entities[1].type, EntityKind::kPolyFaceMesh);
    EXPECT_EQ(drawing.entities[1].vertices.size(), 6u);
}

TEST(ByteFileNamesTest, AMissingLatin1NameIsShownWithoutItsRawByte) {
    TempFolder folder;
    const KafcadRun run = RunKafcadProcess(
        {"-e", "(kaf-dct-subdmesh-withloadcsv '(\"gone\xF6.csv\") \",\" nil 0.0 0.0 1.0)"}, "",
        folder.Folder().string());
    // A message box goes to standard error with its caption; the function goes on.
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "Nimbora: File 'gone\xEF\xBF\xBD.csv' not found!\n");
    EXPECT_NE(run.out.find("\nParsing ... canceledfinished"), std::string::npos) << run.out;
}

}  // namespace
