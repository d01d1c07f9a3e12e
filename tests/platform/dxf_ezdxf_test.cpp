// DXF drawing files against ezdxf, an independent reader: it loads what we write and its audit
// finds nothing to fix; we read what it writes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace {

using dxf_test::DxfFileTest;
using dxf_test::RunDxfChecker;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

// Each expected line is a whole line of the output.
void ExpectLines(const std::string& output, const std::vector<std::string>& expected) {
    for (const std::string& line : expected) {
        EXPECT_NE(("\n" + output).find("\n" + line + "\n"), std::string::npos)
            << "missing \"" << line << "\" in\n"
            << output;
    }
}

TEST_F(DxfFileTest, EzdxfLoadsTheWrittenFileAndItsAuditFindsNothing) {
    kafhost::saveDxfDrawingFile(dxf_test::SampleDxfDrawing(), Path("sample.dxf"));
    const auto run = RunDxfChecker({Path("sample.dxf")});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    ExpectLines(
        run.output,
        {"version AC1024", "audit errors 0 fixes 0", "handles 43 unique below seed 10D",
         "layer 0 on", "layer TIN on", "layer Gel\xC3\xA4nde off",
         "entity 2A MESH model TIN owner 2 vertices 3 faces 1 level 1 colors 3",
         "entity 2B POLYLINE model 0 owner 2 polyface True vertices 4 faces 2 "
         "subentities-owned yes",
         "entity 100 LWPOLYLINE model Gel\xC3\xA4nde owner 2 points 3 closed 1 elevation 2.5 "
         "bulges 0.0,0.5,0.0",
         "entity FF 3DFACE paper 0 owner 3 corners (0.0,0.0,0.0) (1.0,0.0,0.0) (1.0,1.0,0.0) "
         "(1.0,1.0,0.0) invisible 2"});
    EXPECT_EQ(run.output.find("entity 2C"), std::string::npos);
}

TEST_F(DxfFileTest, EzdxfFindsNothingToFixInAnEmptyDrawing) {
    kafhost::saveDxfDrawingFile(DrawingSnapshot{{{L"0", false}}, {}, 0, nullptr},
                                Path("empty.dxf"));
    const auto run = RunDxfChecker({Path("empty.dxf")});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    ExpectLines(run.output, {"version AC1024", "audit errors 0 fixes 0", "layer 0 on"});
    EXPECT_EQ(run.output.find("entity "), std::string::npos) << run.output;
}

TEST_F(DxfFileTest, WhatEzdxfWritesIsReadWithItsHandlesAndTheRestNoted) {
    const auto made = RunDxfChecker({"--make", Path("ezdxf.dxf")});
    ASSERT_EQ(made.exitStatus, 0) << made.output;
    std::vector<std::string> notes;
    const DrawingSnapshot read = kafhost::loadDxfDrawingFile(Path("ezdxf.dxf"), notes);

    std::vector<std::wstring> layers;
    for (const auto& layer : read.layers) {
        layers.push_back(layer.name + (layer.hidden ? L" hidden" : L""));
    }
    EXPECT_EQ(layers, (std::vector<std::wstring>{L"0", L"Defpoints", L"TIN", L"Off hidden",
                                                 L"Frozen hidden"}));
    ASSERT_EQ(read.entities.size(), 6u);
    const EntityInfo& mesh = read.entities[0];
    EXPECT_EQ(mesh.type, EntityKind::kSubDMesh);
    EXPECT_EQ(mesh.layer, L"TIN");
    EXPECT_EQ(mesh.vertices,
              (std::vector<kafhost::Point3>{{0, 0, 0}, {1, 0, 0.5}, {1, 1, 1}, {0, 1, 0.25}}));
    EXPECT_EQ(mesh.faces, (std::vector<std::vector<int>>{{0, 1, 2}, {0, 2, 3}}));
    const EntityInfo& face = read.entities[1];
    EXPECT_EQ(face.type, EntityKind::kFace);
    EXPECT_EQ(face.edgeVisible, (std::vector<bool>{true, false, true, true}));
    const EntityInfo& pface = read.entities[2];
    EXPECT_EQ(pface.type, EntityKind::kPolyFaceMesh);
    EXPECT_EQ(pface.layer, L"Frozen");
    EXPECT_EQ(pface.vertices.size(), 4u);
    EXPECT_EQ(pface.faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}, {1, 3, 4, 0}}));
    // A plain line is modelled; the one with a thickness stays in the file as written.
    const EntityInfo& line = read.entities[3];
    EXPECT_EQ(line.type, EntityKind::kLine);
    EXPECT_EQ(line.layer, L"TIN");
    EXPECT_EQ(line.colorIndex, 3);
    EXPECT_EQ(line.corners, (std::vector<kafhost::Point3>{{0, 0, 0}, {1, 1, 0.5}}));
    EXPECT_EQ(read.entities[4].type, EntityKind::kPolyline3d);
    EXPECT_EQ(read.entities[4].vertices, (std::vector<kafhost::Point3>{{0, 0, 0}, {1, 2, 3}}));
    const EntityInfo& outline = read.entities[5];
    EXPECT_EQ(outline.type, EntityKind::kPolyline);
    EXPECT_EQ(outline.space, L"paper");
    EXPECT_EQ(outline.points, (std::vector<kafhost::Point2>{{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_EQ(outline.bulges, (std::vector<double>{0.5, 0, 0}));
    EXPECT_EQ(outline.elevation, 2.5);
    EXPECT_TRUE(outline.closed);
    // The rest of the file is kept for saving, so nothing is skipped.
    EXPECT_TRUE(notes.empty());

    // The handles are ezdxf's own, as its listing of the same file shows.
    const auto listing = RunDxfChecker({Path("ezdxf.dxf")});
    const char* const kinds[] = {"MESH", "3DFACE", "POLYLINE", "LINE", "POLYLINE", "LWPOLYLINE"};
    for (std::size_t i = 0; i < read.entities.size(); ++i) {
        const std::string prefix = "entity " + kafhost::wideToUtf8(read.entities[i].handle) + " " +
                                   kinds[i] + " " + kafhost::wideToUtf8(read.entities[i].space) +
                                   " ";
        EXPECT_NE(listing.output.find("\n" + prefix), std::string::npos) << prefix << "\n"
                                                                         << listing.output;
    }

    // Written again, ezdxf finds nothing to fix, and the layers keep their states.
    kafhost::saveDxfDrawingFile(read, Path("again.dxf"));
    const auto again = RunDxfChecker({Path("again.dxf")});
    EXPECT_EQ(again.exitStatus, 0) << again.output;
    ExpectLines(again.output, {"audit errors 0 fixes 0", "layer Frozen frozen"});
}

TEST_F(DxfFileTest, ChangedErasedAndNewEntitiesAreWrittenAroundWhatIsKept) {
    ASSERT_EQ(RunDxfChecker({"--make", Path("ezdxf.dxf")}).exitStatus, 0);
    // The mesh gets a colour of its own, which a rewrite must keep.
    std::string text = dxf_test::FileContents(Path("ezdxf.dxf"));
    const std::size_t meshLayer = text.find("  8\nTIN\n", text.find("\nMESH\n"));
    text.insert(meshLayer + 8, " 62\n3\n");
    std::vector<std::string> notes;
    DrawingSnapshot drawing = kafhost::drawingFromDxf(text, notes);
    drawing.entities[0].vertexColours = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    const EntityInfo mesh = drawing.entities[0];
    drawing.entities[1].erased = true;  // the 3D face
    const std::wstring faceHandle = drawing.entities[1].handle;
    EntityInfo added = drawing.entities[1];
    added.erased = false;
    added.handle = L"";
    added.layer = L"NEW";
    added.space = L"model";
    drawing.layers.push_back({L"NEW", false});
    added.handle = kafhost::handleText(drawing.nextHandle + 5);
    drawing.entities.push_back(added);
    kafhost::saveDxfDrawingFile(drawing, Path("changed.dxf"));

    const auto run = RunDxfChecker({Path("changed.dxf")});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    ExpectLines(run.output, {"audit errors 0 fixes 0", "layer NEW on", "layer Frozen frozen",
                             "entity " + kafhost::wideToUtf8(mesh.handle) +
                                 " MESH model TIN owner 17 vertices 4 faces 2 level 0 colors 4"});
    EXPECT_EQ(run.output.find("entity " + kafhost::wideToUtf8(faceHandle) + " "),
              std::string::npos);
    EXPECT_NE(run.output.find("entity " + kafhost::wideToUtf8(added.handle) + " 3DFACE model NEW"),
              std::string::npos)
        << run.output;
    const std::string saved = dxf_test::FileContents(Path("changed.dxf"));
    EXPECT_NE(saved.find("  8\nTIN\n 62\n3\n100\nAcDbSubDMesh\n"), std::string::npos);
    for (const char* kept : {"\nCIRCLE\n", "\nINSERT\n", "\nATTRIB\n", "\nATTDEF\n"}) {
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
    }
    const DrawingSnapshot again = kafhost::drawingFromDxf(saved, notes);
    EXPECT_EQ(again.entities[0].vertexColours, mesh.vertexColours);
    EXPECT_EQ(kafhost::drawingToDxf(again), saved);
}

TEST_F(DxfFileTest, ChangesTheFileCannotHoldAreRefusedBeforeAnythingIsWritten) {
    ASSERT_EQ(RunDxfChecker({"--make", Path("ezdxf.dxf")}).exitStatus, 0);
    const std::string text = dxf_test::FileContents(Path("ezdxf.dxf"));
    std::vector<std::string> notes;
    auto refusal = [this](const DrawingSnapshot& drawing) {
        std::ofstream(Path("earlier.dxf")) << "earlier";
        try {
            kafhost::saveDxfDrawingFile(drawing, Path("earlier.dxf"));
        } catch (const kafhost::DrawingFileError& error) {
            EXPECT_EQ(dxf_test::FileContents(Path("earlier.dxf")), "earlier");
            return std::string(error.what());
        }
        return std::string("saved");
    };

    // A MESH in an AutoCAD 2004 file.
    std::string release2004 = text;
    release2004.replace(release2004.find("AC1027"), 6, "AC1018");
    DrawingSnapshot drawing = kafhost::drawingFromDxf(release2004, notes);
    EntityInfo mesh = drawing.entities[0];
    mesh.handle = L"1000";
    drawing.entities.push_back(mesh);
    EXPECT_EQ(refusal(drawing),
              Path("earlier.dxf") +
                  ": entity 1000: a MESH cannot be written into a DXF file of release AC1018 (MESH "
                  "needs AutoCAD 2010, AC1024, or later); kafcad keeps the file's release");

    // A changed mesh whose extended data kafcad cannot bring up to date.
    std::string withData = text;
    const std::size_t meshEnd = withData.find("  0\n", withData.find("\nMESH\n") + 1);
    withData.insert(meshEnd, "1001\nACAD\n1000\nnote\n");
    drawing = kafhost::drawingFromDxf(withData, notes);
    drawing.entities[0].vertexColours.assign(4, kafhost::Rgb{1, 2, 3});
    EXPECT_EQ(refusal(drawing), Path("earlier.dxf") + ": entity " +
                                    kafhost::wideToUtf8(drawing.entities[0].handle) +
                                    ": kafcad changed it, and it carries extended data, "
                                    "application groups or details (mesh edges and creases, "
                                    "properties of polyface vertices) that kafcad cannot write "
                                    "again");
    // Unchanged, it is kept.
    drawing.entities[0].vertexColours.clear();
    EXPECT_EQ(refusal(drawing), "saved");
    EXPECT_NE(dxf_test::FileContents(Path("earlier.dxf")).find("1000\nnote\n"), std::string::npos);
}

}  // namespace
