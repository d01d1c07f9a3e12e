#include "fuzz/fixture_drawing.h"

#include <vector>

#include "fuzz/fuzz_failure.h"
#include "kafhost/wide_to_utf8.h"

namespace {

using kafhost::EntityKind;
using kafhost::Point3;

// A grid of (columns + 1) x (rows + 1) vertices with spacing 10 from (x0, 0); every cell is two
// triangles except the first, which stays a quad.
void GridMesh(double x0, int columns, int rows, std::vector<Point3>& vertices,
              std::vector<std::vector<int>>& faces) {
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= columns; ++i) {
            vertices.push_back({x0 + 10.0 * i, 10.0 * j, 1.0 + 0.5 * i - 0.25 * j * j});
        }
    }
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const int a = j * (columns + 1) + i;
            const int b = a + 1;
            const int c = a + columns + 2;
            const int d = a + columns + 1;
            if (i == 0 && j == 0) {
                faces.push_back({a, b, c, d});
            } else {
                faces.push_back({a, b, c});
                faces.push_back({a, c, d});
            }
        }
    }
}

std::wstring Add(kafhost::Host& host, const kafhost::EntityInfo& entity) {
    std::wstring error;
    const std::wstring handle = host.addEntity(entity, error);
    if (handle.empty()) {
        FuzzFailure("fixture entity refused: " + kafhost::wideToUtf8(error));
    }
    return handle;
}

kafhost::EntityInfo SubDMesh(double x0, const std::wstring& space, bool erased) {
    kafhost::EntityInfo mesh;
    mesh.type = EntityKind::kSubDMesh;
    mesh.space = space;
    mesh.erased = erased;
    GridMesh(x0, 3, 3, mesh.vertices, mesh.faces);
    return mesh;
}

}  // namespace

FixtureDrawing PrepareFixtureDrawing(kafhost::Host& host) {
    host.addLayer(L"TIN");
    host.addLayer(L"HIDDEN", true);
    FixtureDrawing fixture;
    fixture.mesh = Add(host, SubDMesh(0.0, L"model", false));
    fixture.secondMesh = Add(host, SubDMesh(30.0, L"model", false));

    kafhost::EntityInfo polyFace;
    polyFace.type = EntityKind::kPolyFaceMesh;
    polyFace.vertices = {{0, 0, 1}, {20, 0, 2}, {20, 20, 3}, {0, 20, 4}, {10, 10, 9}};
    polyFace.faces = {{1, 2, 5, 0}, {2, 3, 5, 0}, {3, 4, -5, 0}, {4, 1, 5, 0}};
    fixture.polyFaceMesh = Add(host, polyFace);

    kafhost::EntityInfo outline;
    outline.type = EntityKind::kPolyline;
    outline.points = {{5, 5}, {45, 5}, {45, 25}, {25, 28}, {5, 25}};
    outline.closed = true;
    fixture.outline = Add(host, outline);

    kafhost::EntityInfo open;
    open.type = EntityKind::kPolyline;
    open.points = {{0, 0}, {50, 30}};
    open.elevation = 2.5;
    fixture.openPolyline = Add(host, open);

    kafhost::EntityInfo face;
    face.type = EntityKind::kFace;
    face.corners = {{0, 0, 0}, {10, 0, 1}, {10, 10, 2}, {0, 10, 3}};
    fixture.face = Add(host, face);

    fixture.erasedMesh = Add(host, SubDMesh(5.0, L"model", true));
    fixture.paperMesh = Add(host, SubDMesh(5.0, L"paper", false));

    kafhost::EntityInfo line3d;
    line3d.type = EntityKind::kPolyline3d;
    line3d.vertices = {{-5, 12, 2}, {20, 14, 3}, {20, 14, 4}, {65, 16, 5}};
    fixture.breakline = Add(host, line3d);
    line3d.vertices = {{2, 2, 1}, {55, 3, 2}, {50, 28, 3}, {3, 27, 4}};
    line3d.closed = true;
    fixture.boundary3d = Add(host, line3d);

    kafhost::EntityInfo crossing;
    crossing.type = EntityKind::kPolyline;
    crossing.points = {{1, 1}, {41, 21}, {41, 1}, {1, 21}};
    crossing.closed = true;
    fixture.crossingOutline = Add(host, crossing);
    return fixture;
}
