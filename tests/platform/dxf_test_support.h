// Shared by the drawing-file tests (also those of kafcad, which include this header).
//
// SampleDxfDrawing(): one entity of every kind (a mesh with vertex colours, a polyface mesh, an
//   erased polyface mesh, a 3D face in paper space with a hidden edge, a closed polyline with a
//   bulge on a hidden layer whose name is not ASCII), with numbers that only read back when
//   written in full.
// ExpectSameDrawing(a, b): layers and entities equal field by field (nextHandle aside; a face
//   without edge flags has all edges visible).
// DxfTags({{code, value}, ...}): DXF text of the tags as the writer writes them.
// EntityHead(kind, handle, owner, layer, subclass): the tags an entity starts with.
// FileContents(path): the bytes of a file.
// RunDxfChecker(arguments), not on Windows: runs dxf_check.py, next to this header, with
//   /usr/bin/python3 (ezdxf, the independent reader); gives its exit status and output. Fails the
//   test, saying how to install python3-ezdxf, when that is missing.
// DxfFileTest: a scratch folder per test; Path(name) is a file in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "support/files.h"
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace dxf_test {

inline kafhost::EntityInfo Entity(const std::wstring& handle, kafhost::EntityKind type) {
    kafhost::EntityInfo entity;
    entity.handle = handle;
    entity.type = type;
    return entity;
}

inline kafhost::DrawingSnapshot SampleDxfDrawing() {
    kafhost::DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"TIN", false}, {L"Gel\u00e4nde", true}};

    kafhost::EntityInfo subd = Entity(L"2A", kafhost::EntityKind::kSubDMesh);
    subd.layer = L"TIN";
    subd.vertices = {{0.1, 1.0 / 3.0, -0.0}, {1e-300, 2e300, 5.0}, {123456.789, -7.25, 1e21}};
    subd.faces = {{0, 1, 2}};
    subd.vertexColours = {{255, 0, 0}, {0, 128, 0}, {1, 2, 255}};
    subd.subDLevel = 1;
    kafhost::EntityInfo pface = Entity(L"2B", kafhost::EntityKind::kPolyFaceMesh);
    pface.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0.5}};
    pface.faces = {{1, 2, -3, 0}, {2, 4, 3, 0}};
    kafhost::EntityInfo erased = pface;
    erased.handle = L"2C";
    erased.erased = true;
    kafhost::EntityInfo face = Entity(L"FF", kafhost::EntityKind::kFace);
    face.space = L"paper";
    face.corners = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}};
    face.edgeVisible = {true, false, true, true};
    kafhost::EntityInfo outline = Entity(L"100", kafhost::EntityKind::kPolyline);
    outline.layer = L"Gel\u00e4nde";
    outline.points = {{0, 0}, {10, 0}, {10, 10}};
    outline.bulges = {0.0, 0.5, 0.0};
    outline.elevation = 2.5;
    outline.closed = true;
    drawing.entities = {subd, pface, erased, face, outline};
    drawing.nextHandle = 0x101;
    return drawing;
}

// Edge flags of a 3D face; none means all four visible.
inline std::vector<bool> AllVisibleWhenEmpty(const std::vector<bool>& flags) {
    return flags.empty() ? std::vector<bool>(4, true) : flags;
}

inline void ExpectSameDrawing(const kafhost::DrawingSnapshot& a,
                              const kafhost::DrawingSnapshot& b) {
    ASSERT_EQ(a.layers.size(), b.layers.size());
    for (std::size_t i = 0; i < a.layers.size(); ++i) {
        EXPECT_EQ(a.layers[i].name, b.layers[i].name);
        EXPECT_EQ(a.layers[i].hidden, b.layers[i].hidden);
    }
    ASSERT_EQ(a.entities.size(), b.entities.size());
    for (std::size_t i = 0; i < a.entities.size(); ++i) {
        const kafhost::EntityInfo& x = a.entities[i];
        const kafhost::EntityInfo& y = b.entities[i];
        SCOPED_TRACE("entity " + std::to_string(i));
        EXPECT_EQ(x.handle, y.handle);
        EXPECT_EQ(x.type, y.type);
        EXPECT_EQ(x.space, y.space);
        EXPECT_EQ(x.layer, y.layer);
        EXPECT_EQ(x.erased, y.erased);
        EXPECT_EQ(x.vertices, y.vertices);
        EXPECT_EQ(x.faces, y.faces);
        EXPECT_EQ(x.vertexColours, y.vertexColours);
        EXPECT_EQ(x.subDLevel, y.subDLevel);
        EXPECT_EQ(x.corners, y.corners);
        EXPECT_EQ(AllVisibleWhenEmpty(x.edgeVisible), AllVisibleWhenEmpty(y.edgeVisible));
        EXPECT_EQ(x.points, y.points);
        EXPECT_EQ(x.bulges, y.bulges);
        EXPECT_EQ(x.elevation, y.elevation);
        EXPECT_EQ(x.closed, y.closed);
    }
}

inline std::string DxfTags(const std::vector<std::pair<int, std::string>>& tags) {
    std::string text;
    for (const auto& tag : tags) {
        std::string code = std::to_string(tag.first);
        if (code.size() < 3) {
            code.insert(0, 3 - code.size(), ' ');
        }
        text += code + "\n" + tag.second + "\n";
    }
    return text;
}

inline std::string EntityHead(const std::string& kind, const std::string& handle,
                              const std::string& owner, const std::string& layer,
                              const std::string& subclass) {
    return DxfTags(
        {{0, kind}, {5, handle}, {330, owner}, {100, "AcDbEntity"}, {8, layer}, {100, subclass}});
}

inline std::string FileContents(const std::string& path) {
    return FileText(path);
}

class DxfFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_.Path(name).string(); }

private:
    TempFolder folder_;
};

#ifndef _WIN32
struct DxfCheckerRun {
    int exitStatus = -1;
    std::string output;
};

// Runs a shell command; its exit status and everything it printed.
inline DxfCheckerRun RunCommand(const std::string& command) {
    DxfCheckerRun run;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, read);
    }
    const int status = ::pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline DxfCheckerRun RunDxfChecker(const std::vector<std::string>& arguments) {
    const std::string python = "/usr/bin/python3";
    static const DxfCheckerRun probe = RunCommand(python + " -c 'import ezdxf'");
    if (probe.exitStatus != 0) {
        ADD_FAILURE() << "the DXF checks need ezdxf for " << python
                      << " (Debian: apt-get install python3-ezdxf): " << probe.output;
        return DxfCheckerRun{};
    }
    const std::filesystem::path script = KAF_DXF_CHECK_SCRIPT;
    std::string command = python + " " + ShellQuoted(script.string());
    for (const std::string& argument : arguments) {
        command += " " + ShellQuoted(argument);
    }
    return RunCommand(command);
}

#endif

}  // namespace dxf_test
