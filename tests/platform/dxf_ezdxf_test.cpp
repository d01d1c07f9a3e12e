// DXF drawing files against ezdxf, an independent reader: it loads what we write and its audit
// finds nothing to fix; we read what it writes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/wide_to_utf8.h"

namespace {

using dxf_test::DxfFileTest;
using dxf_test::RunDxfChecker;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void ExpectLines(const std::string& output, const std::vector<std::string>& expected) {
    const std::vector<std::string> lines = Lines(output);
    for (const std::string& line : expected) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end())
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
    kafhost::saveDxfDrawingFile(DrawingSnapshot{{{L"0", false}}, {}, 0}, Path("empty.dxf"));
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
    ASSERT_EQ(read.entities.size(), 5u);
    const EntityInfo& mesh = read.entities[0];
    EXPECT_EQ(mesh.type, L"AcDbSubDMesh");
    EXPECT_EQ(mesh.layer, L"TIN");
    EXPECT_EQ(mesh.vertices,
              (std::vector<kafhost::Point3>{{0, 0, 0}, {1, 0, 0.5}, {1, 1, 1}, {0, 1, 0.25}}));
    EXPECT_EQ(mesh.faces, (std::vector<std::vector<int>>{{0, 1, 2}, {0, 2, 3}}));
    const EntityInfo& face = read.entities[1];
    EXPECT_EQ(face.type, L"AcDbFace");
    EXPECT_EQ(face.edgeVisible, (std::vector<bool>{true, false, true, true}));
    const EntityInfo& pface = read.entities[2];
    EXPECT_EQ(pface.type, L"AcDbPolyFaceMesh");
    EXPECT_EQ(pface.layer, L"Frozen");
    EXPECT_EQ(pface.vertices.size(), 4u);
    EXPECT_EQ(pface.faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}, {1, 3, 4, 0}}));
    EXPECT_EQ(read.entities[3].type, L"AcDb3dPolyline");
    EXPECT_EQ(read.entities[3].vertices, (std::vector<kafhost::Point3>{{0, 0, 0}, {1, 2, 3}}));
    const EntityInfo& outline = read.entities[4];
    EXPECT_EQ(outline.type, L"AcDbPolyline");
    EXPECT_EQ(outline.space, L"paper");
    EXPECT_EQ(outline.points, (std::vector<kafhost::Point2>{{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_EQ(outline.bulges, (std::vector<double>{0.5, 0, 0}));
    EXPECT_EQ(outline.elevation, 2.5);
    EXPECT_TRUE(outline.closed);
    EXPECT_EQ(notes, (std::vector<std::string>{"skipped 1 CIRCLE entity", "skipped 1 INSERT entity",
                                               "skipped 2 LINE entities",
                                               "skipped 1 ATTDEF entity in block definitions",
                                               "skipped 1 LINE entity in block definitions"}));

    // The handles are ezdxf's own, as its listing of the same file shows.
    const auto listing = RunDxfChecker({Path("ezdxf.dxf")});
    const char* const kinds[] = {"MESH", "3DFACE", "POLYLINE", "POLYLINE", "LWPOLYLINE"};
    for (std::size_t i = 0; i < read.entities.size(); ++i) {
        const std::string prefix = "entity " + kafhost::wideToUtf8(read.entities[i].handle) + " " +
                                   kinds[i] + " " + kafhost::wideToUtf8(read.entities[i].space) +
                                   " ";
        EXPECT_NE(listing.output.find("\n" + prefix), std::string::npos) << prefix << "\n"
                                                                         << listing.output;
    }

    // Written again, ezdxf finds nothing to fix.
    kafhost::saveDxfDrawingFile(read, Path("again.dxf"));
    const auto again = RunDxfChecker({Path("again.dxf")});
    EXPECT_EQ(again.exitStatus, 0) << again.output;
    ExpectLines(again.output, {"audit errors 0 fixes 0", "layer Frozen off"});
}

}  // namespace
