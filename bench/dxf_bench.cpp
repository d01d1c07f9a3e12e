// Times saving and loading a drawing file with one subdivision mesh of 1,000,000 vertices
// (a jittered 1000 x 1000 grid in survey coordinates, about 2,000,000 faces, a colour per
// vertex), as DXF against the JSON drawing file of the same drawing in the same run. Prints
// per-run figures, the medians over the runs and the DXF/JSON ratios.
//
// Usage: dxf_bench [grid side] [runs]   (defaults 1000 and 3)
//
// dxf_bench layers N / dxf_bench polyfaces N: a drawing of N layers (one 3D face on each), or of
// N small polyface meshes; times saving and loading it as DXF and as JSON and opening it in the
// host (the drawing loaded into a document), at N / 4 and at N. The ratio of the two times is
// about 4 where the work grows as N (or N log N), 16 where it grows as N squared.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"
#include "kafhost/host.h"

namespace {

using Clock = std::chrono::steady_clock;
using kafhost::EntityKind;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

kafhost::DrawingSnapshot GridMeshDrawing(int side) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> jitter(0.0, 0.9);
    std::uniform_real_distribution<double> height(100.0, 200.0);
    kafhost::EntityInfo mesh;
    mesh.handle = L"20";
    mesh.type = EntityKind::kSubDMesh;
    mesh.layer = L"TIN";
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            mesh.vertices.push_back(
                {512000.0 + i + jitter(random), 5403000.0 + j + jitter(random), height(random)});
            mesh.vertexColours.push_back({i % 256, j % 256, (i + j) % 256});
        }
    }
    for (int i = 0; i + 1 < side; ++i) {
        for (int j = 0; j + 1 < side; ++j) {
            const int a = i * side + j;
            mesh.faces.push_back({a, a + 1, a + side});
            mesh.faces.push_back({a + 1, a + side + 1, a + side});
        }
    }
    kafhost::DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"TIN", false}};
    drawing.entities = {std::move(mesh)};
    return drawing;
}

kafhost::DrawingSnapshot ManyDrawing(bool layers, int count) {
    kafhost::DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}};
    for (int i = 0; i < count; ++i) {
        const double x = 512000.0 + i;
        kafhost::EntityInfo entity;
        entity.handle = kafhost::handleText(0x100 + static_cast<std::uint64_t>(i));
        if (layers) {
            drawing.layers.push_back({L"L" + std::to_wstring(i), false});
            entity.layer = drawing.layers.back().name;
            entity.type = EntityKind::kFace;
            entity.corners = {{x, 0, 1}, {x + 1, 0, 2}, {x + 1, 1, 3}, {x + 1, 1, 3}};
        } else {
            entity.type = EntityKind::kPolyFaceMesh;
            entity.vertices = {{x, 0, 1}, {x + 1, 0, 2}, {x + 1, 1, 3}, {x, 1, 4}};
            entity.faces = {{1, 2, 3, 0}, {1, 3, 4, 0}};
        }
        drawing.entities.push_back(std::move(entity));
    }
    return drawing;
}

struct ManyTimes {
    double dxfSave, dxfLoad, jsonSave, jsonLoad, open;
};

ManyTimes TimeMany(bool layers, int count, const std::string& dxfPath,
                   const std::string& jsonPath) {
    const kafhost::DrawingSnapshot drawing = ManyDrawing(layers, count);
    ManyTimes times{};
    Clock::time_point start = Clock::now();
    kafhost::saveDxfDrawingFile(drawing, dxfPath);
    times.dxfSave = SecondsSince(start);
    start = Clock::now();
    std::vector<std::string> notes;
    const kafhost::DrawingSnapshot fromDxf = kafhost::loadDxfDrawingFile(dxfPath, notes);
    times.dxfLoad = SecondsSince(start);
    start = Clock::now();
    kafhost::saveDrawingFile(drawing, jsonPath);
    times.jsonSave = SecondsSince(start);
    start = Clock::now();
    kafhost::loadDrawingFile(jsonPath);
    times.jsonLoad = SecondsSince(start);
    kafhost::Host& host = kafhost::Host::instance();
    if (host.currentDocument() == nullptr) {
        host.newDocument();
    }
    std::wstring error;
    start = Clock::now();
    if (!host.loadSnapshot(fromDxf, error)) {
        std::printf("the drawing does not open\n");
        std::exit(1);
    }
    times.open = SecondsSince(start);
    host.resetDrawing();
    return times;
}

int RunMany(bool layers, int count, const std::string& dxfPath, const std::string& jsonPath) {
    const char* what = layers ? "layers" : "polyface meshes";
    const ManyTimes small = TimeMany(layers, count / 4, dxfPath, jsonPath);
    const ManyTimes large = TimeMany(layers, count, dxfPath, jsonPath);
    for (const auto& [n, t] : {std::make_pair(count / 4, small), std::make_pair(count, large)}) {
        std::printf(
            "%d %s: DXF save %.3f s, load %.3f s; JSON save %.3f s, load %.3f s; "
            "opening the loaded drawing %.3f s\n",
            n, what, t.dxfSave, t.dxfLoad, t.jsonSave, t.jsonLoad, t.open);
    }
    std::printf(
        "N / (N/4) (4: linear, 16: quadratic): DXF save %.1f, load %.1f; JSON save %.1f, "
        "load %.1f; opening %.1f\n",
        large.dxfSave / small.dxfSave, large.dxfLoad / small.dxfLoad,
        large.jsonSave / small.jsonSave, large.jsonLoad / small.jsonLoad, large.open / small.open);
    std::filesystem::remove(dxfPath);
    std::filesystem::remove(jsonPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::string(argv[1]) == "layers" || std::string(argv[1]) == "polyfaces")) {
        const auto folder = std::filesystem::temp_directory_path();
        return RunMany(std::string(argv[1]) == "layers", argc > 2 ? std::atoi(argv[2]) : 100000,
                       (folder / "dxf_bench_many.dxf").string(),
                       (folder / "dxf_bench_many.json").string());
    }
    const int side = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const kafhost::DrawingSnapshot drawing = GridMeshDrawing(side);
    const auto folder = std::filesystem::temp_directory_path();
    const std::string dxfPath = (folder / "dxf_bench.dxf").string();
    const std::string jsonPath = (folder / "dxf_bench.json").string();
    std::printf("mesh: %zu vertices, %zu faces, colours\n", drawing.entities[0].vertices.size(),
                drawing.entities[0].faces.size());

    std::vector<double> dxfSave, dxfLoad, jsonSave, jsonLoad;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        kafhost::saveDxfDrawingFile(drawing, dxfPath);
        dxfSave.push_back(SecondsSince(start));
        start = Clock::now();
        std::vector<std::string> notes;
        const kafhost::DrawingSnapshot fromDxf = kafhost::loadDxfDrawingFile(dxfPath, notes);
        dxfLoad.push_back(SecondsSince(start));
        start = Clock::now();
        kafhost::saveDrawingFile(drawing, jsonPath);
        jsonSave.push_back(SecondsSince(start));
        start = Clock::now();
        const kafhost::DrawingSnapshot fromJson = kafhost::loadDrawingFile(jsonPath);
        jsonLoad.push_back(SecondsSince(start));
        if (fromDxf.entities[0].faces != fromJson.entities[0].faces) {
            std::printf("the files do not hold the same mesh\n");
            return 1;
        }
        std::printf("run %d: DXF save %.3f s, load %.3f s; JSON save %.3f s, load %.3f s\n",
                    run + 1, dxfSave.back(), dxfLoad.back(), jsonSave.back(), jsonLoad.back());
    }
    std::printf("files: DXF %.1f MB, JSON %.1f MB\n",
                static_cast<double>(std::filesystem::file_size(dxfPath)) / 1e6,
                static_cast<double>(std::filesystem::file_size(jsonPath)) / 1e6);
    std::printf(
        "median over %d runs: DXF save %.3f s, load %.3f s; JSON save %.3f s, load %.3f s\n", runs,
        Median(dxfSave), Median(dxfLoad), Median(jsonSave), Median(jsonLoad));
    std::printf("DXF/JSON: save %.2f, load %.2f\n", Median(dxfSave) / Median(jsonSave),
                Median(dxfLoad) / Median(jsonLoad));
    std::filesystem::remove(dxfPath);
    std::filesystem::remove(jsonPath);
    return 0;
}
