#include "app/render_top_view.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/drawing_extent.h"
#include "app/polyline_path.h"
#include "app/shade_triangle.h"
#include "app/view_transform.h"

namespace kafcad {
namespace {

using kafhost::EntityInfo;

struct Rgb {
    double red, green, blue;  // 0 ... 1
};

constexpr float kPlainMeshShade = 222.0f;
constexpr Rgb kPlainMeshEdges{0.45, 0.45, 0.45};
constexpr Rgb kFaceEdges{0.10, 0.20, 0.55};
constexpr Rgb kPolylines{0.80, 0.10, 0.10};

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

// A colour for every vertex; a mesh with none (or a mismatched count) is drawn plain.
bool HasVertexColours(const EntityInfo& mesh) {
    return !mesh.vertexColors.empty() && mesh.vertexColors.size() == mesh.vertices.size();
}

void CheckStatus(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(cairo_status_to_string(status));
}

class TopViewPainter {
public:
    TopViewPainter(cairo_surface_t* surface, const ViewTransform& view)
        : surface_(surface), view_(view) {}

    void FillMesh(const EntityInfo& mesh) {
        cairo_surface_flush(surface_);
        PixelImage image{reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_)),
                         cairo_image_surface_get_width(surface_),
                         cairo_image_surface_get_height(surface_),
                         cairo_image_surface_get_stride(surface_) / 4};
        const bool coloured = HasVertexColours(mesh);
        const auto corner = [&](int index) {
            const kafhost::Point3& vertex = mesh.vertices[static_cast<std::size_t>(index)];
            ShadedCorner shaded{view_.PixelX(vertex[0]), view_.PixelY(vertex[1]), kPlainMeshShade,
                                kPlainMeshShade, kPlainMeshShade};
            if (coloured) {
                const kafhost::Rgb& colour = mesh.vertexColors[static_cast<std::size_t>(index)];
                shaded.red = static_cast<float>(colour[0]);
                shaded.green = static_cast<float>(colour[1]);
                shaded.blue = static_cast<float>(colour[2]);
            }
            return shaded;
        };
        for (const std::vector<int>& face : mesh.faces) {
            if (!ValidFace(face, mesh.vertices.size()))
                continue;
            // A face of more than three corners is filled as a fan around its first corner.
            const ShadedCorner first = corner(face[0]);
            for (std::size_t i = 1; i + 1 < face.size(); ++i)
                ShadeTriangle(image, first, corner(face[i]), corner(face[i + 1]));
        }
        cairo_surface_mark_dirty(surface_);
    }

    // The edges of a subdivision mesh, each shared edge drawn once.
    void MeshEdges(cairo_t* context, const EntityInfo& mesh) {
        std::vector<std::pair<int, int>> edges;
        for (const std::vector<int>& face : mesh.faces) {
            if (!ValidFace(face, mesh.vertices.size()))
                continue;
            for (std::size_t i = 0; i < face.size(); ++i) {
                const int a = face[i];
                const int b = face[(i + 1) % face.size()];
                edges.emplace_back(std::min(a, b), std::max(a, b));
            }
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        for (const auto& [a, b] : edges)
            Line(context, mesh.vertices[static_cast<std::size_t>(a)],
                 mesh.vertices[static_cast<std::size_t>(b)]);
    }

    // Face records hold vertex numbers from 1; 0 ends the face; a negative number hides the
    // edge that starts at its vertex.
    void PolyFaceMeshEdges(cairo_t* context, const EntityInfo& mesh) {
        for (const std::vector<int>& record : mesh.faces) {
            std::vector<int> numbers;
            for (const int number : record) {
                if (number != 0)
                    numbers.push_back(number);
            }
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                const int from = numbers[i];
                const int to = std::abs(numbers[(i + 1) % numbers.size()]);
                if (from < 0 || static_cast<std::size_t>(from) > mesh.vertices.size() ||
                    static_cast<std::size_t>(to) > mesh.vertices.size() || from == to)
                    continue;
                Line(context, mesh.vertices[static_cast<std::size_t>(from - 1)],
                     mesh.vertices[static_cast<std::size_t>(to - 1)]);
            }
        }
    }

    void FaceEdges(cairo_t* context, const EntityInfo& face) {
        const std::size_t count = face.corners.size();
        for (std::size_t i = 0; i < count; ++i) {
            const bool visible = face.edgeVisible.size() != count || face.edgeVisible[i];
            const kafhost::Point3& from = face.corners[i];
            const kafhost::Point3& to = face.corners[(i + 1) % count];
            if (visible && from != to)
                Line(context, from, to);
        }
    }

    void PolylineLines(cairo_t* context, const EntityInfo& polyline) {
        const std::vector<kafhost::Point2> path = PolylinePath(polyline);
        for (std::size_t i = 0; i < path.size(); ++i) {
            const double x = view_.PixelX(path[i][0]);
            const double y = view_.PixelY(path[i][1]);
            if (i == 0)
                cairo_move_to(context, x, y);
            else
                cairo_line_to(context, x, y);
        }
    }

private:
    static bool ValidFace(const std::vector<int>& face, std::size_t vertexCount) {
        return face.size() >= 3 && std::all_of(face.begin(), face.end(), [&](int index) {
                   return index >= 0 && static_cast<std::size_t>(index) < vertexCount;
               });
    }

    void Line(cairo_t* context, const kafhost::Point3& from, const kafhost::Point3& to) {
        cairo_move_to(context, view_.PixelX(from[0]), view_.PixelY(from[1]));
        cairo_line_to(context, view_.PixelX(to[0]), view_.PixelY(to[1]));
    }

    cairo_surface_t* surface_;
    ViewTransform view_;
};

void Stroke(cairo_t* context, const Rgb& colour, double width) {
    cairo_set_source_rgb(context, colour.red, colour.green, colour.blue);
    cairo_set_line_width(context, width);
    cairo_stroke(context);
}

}  // namespace

void RenderTopView(const kafhost::DrawingSnapshot& drawing, const std::string& path, int width,
                   int height) {
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    CheckStatus(cairo_surface_status(surface.get()));
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    CheckStatus(cairo_status(context.get()));
    cairo_t* cr = context.get();
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    TopViewPainter painter(surface.get(), FitView(DrawingExtent(drawing), width, height));
    std::vector<const EntityInfo*> shown;
    for (const EntityInfo& entity : drawing.entities) {
        if (InTopView(entity))
            shown.push_back(&entity);
    }
    for (const EntityInfo* entity : shown) {
        if (entity->type == L"AcDbSubDMesh")
            painter.FillMesh(*entity);
    }
    for (const EntityInfo* entity : shown) {
        if (entity->type == L"AcDbSubDMesh" && !HasVertexColours(*entity))
            painter.MeshEdges(cr, *entity);
    }
    Stroke(cr, kPlainMeshEdges, 0.6);
    for (const EntityInfo* entity : shown) {
        if (entity->type == L"AcDbPolyFaceMesh")
            painter.PolyFaceMeshEdges(cr, *entity);
        else if (entity->type == L"AcDbFace")
            painter.FaceEdges(cr, *entity);
    }
    Stroke(cr, kFaceEdges, 0.8);
    for (const EntityInfo* entity : shown) {
        if (entity->type == L"AcDbPolyline")
            painter.PolylineLines(cr, *entity);
    }
    Stroke(cr, kPolylines, 1.5);

    CheckStatus(cairo_status(cr));
    cairo_surface_flush(surface.get());
    CheckStatus(cairo_surface_write_to_png(surface.get(), path.c_str()));
}

}  // namespace kafcad
