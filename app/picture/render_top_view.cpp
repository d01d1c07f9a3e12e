#include "app/picture/render_top_view.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/picture/aci_colour.h"
#include "app/picture/draw_line.h"
#include "app/picture/draw_text.h"
#include "app/picture/drawing_extent.h"
#include "app/picture/elevation_legend.h"
#include "app/picture/png_canvas.h"
#include "app/picture/polyline_path.h"
#include "app/picture/scale_bar.h"
#include "app/picture/shade_triangle.h"
#include "app/picture/shown_entities.h"
#include "app/picture/view_transform.h"

namespace kafcad {
namespace {

using kafhost::EntityInfo;
using kafhost::EntityKind;

constexpr float kPlainMeshShade = 222.0f;
constexpr std::uint32_t kPlainMeshEdges = 0x737373;
constexpr float kPlainMeshEdgeStrength = 0.8f;
constexpr std::uint32_t kFaceEdges = 0x1A338C;
constexpr float kFaceEdgeStrength = 1.0f;
constexpr kafhost::Rgb kPolylineColour{204, 26, 26};
constexpr double kPolylineWidth = 1.5;
constexpr kafhost::Rgb kTextColour{20, 20, 20};
// The legend's panel on the right, in pictures large enough to hold it beside the view.
constexpr int kLegendWidth = 110;
constexpr int kLegendMinWidth = 320;
constexpr int kLegendMinHeight = 200;

// A colour for every vertex; a mesh with none (or a mismatched count) is drawn plain.
bool HasVertexColours(const EntityInfo& mesh) {
    return !mesh.vertexColours.empty() && mesh.vertexColours.size() == mesh.vertices.size();
}

bool ValidFace(const int* face, std::size_t size, std::size_t vertexCount) {
    if (size < 3) {
        return false;
    }
    // Every index checked without a branch per index: faces are many and nearly always valid.
    bool valid = true;
    for (std::size_t i = 0; i < size; ++i) {
        valid &= face[i] >= 0 && static_cast<std::size_t>(face[i]) < vertexCount;
    }
    return valid;
}

// Lines drawn with the default lineweight are this wide; others by their weight (in hundredths
// of a millimetre, the default being 0.25 mm), but at least a pixel.
constexpr double kDefaultLineweight = 25.0;
constexpr double kThinnestLine = 1.0;
constexpr int kDefaultColourIndex = 7;

// How entities are shown: in their own colour (7 in black), else (by layer, by block) in their
// layer's, except that layers of the default colour (7) leave each kind its own; lines as wide
// as the layer's lineweight.
class LayerStyles {
public:
    explicit LayerStyles(const std::vector<kafhost::LayerInfo>& layers) {
        for (const kafhost::LayerInfo& layer : layers) {
            layers_.emplace(layer.name, &layer);
        }
    }

    kafhost::Rgb Colour(const EntityInfo& entity, const kafhost::Rgb& kindColour) const {
        if (entity.trueColor >= 0) {
            return kafhost::Rgb{(entity.trueColor >> 16) & 0xFF, (entity.trueColor >> 8) & 0xFF,
                                entity.trueColor & 0xFF};
        }
        if (entity.colorIndex >= 1 && entity.colorIndex <= 255) {
            // White (7) would not show on the white ground.
            return entity.colorIndex == kDefaultColourIndex ? kafhost::Rgb{0, 0, 0}
                                                            : AciColour(entity.colorIndex);
        }
        const kafhost::LayerInfo* layer = Find(entity);
        if (layer == nullptr ||
            (layer->colorIndex == kDefaultColourIndex && layer->trueColor < 0)) {
            return kindColour;
        }
        return LayerColour(*layer);
    }

    double LineWidth(const EntityInfo& entity) const {
        const kafhost::LayerInfo* layer = Find(entity);
        if (layer == nullptr || layer->lineweight < 0) {
            return kPolylineWidth;
        }
        return std::max(kThinnestLine, kPolylineWidth * layer->lineweight / kDefaultLineweight);
    }

private:
    const kafhost::LayerInfo* Find(const EntityInfo& entity) const {
        const auto found = layers_.find(entity.layer);
        return found == layers_.end() ? nullptr : found->second;
    }

    std::map<std::wstring, const kafhost::LayerInfo*> layers_;
};

std::uint32_t PixelColour(const kafhost::Rgb& rgb) {
    return (static_cast<std::uint32_t>(rgb[0]) << 16) | (static_cast<std::uint32_t>(rgb[1]) << 8) |
           static_cast<std::uint32_t>(rgb[2]);
}

kafhost::Rgb RgbOf(std::uint32_t pixel) {
    return kafhost::Rgb{static_cast<int>((pixel >> 16) & 0xFF),
                        static_cast<int>((pixel >> 8) & 0xFF), static_cast<int>(pixel & 0xFF)};
}

// Paints meshes and edges straight into the picture's pixels.
class PixelPainter {
public:
    PixelPainter(const PixelImage& image, const ViewTransform& view) : image_(image), view_(view) {}

    void FillMesh(const EntityInfo& mesh) {
        // Each vertex is a corner of several triangles: it is placed and snapped once.
        const bool coloured = HasVertexColours(mesh);
        corners_.clear();
        corners_.reserve(mesh.vertices.size());
        for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
            ShadedCorner shaded{view_.PixelX(mesh.vertices[i][0]),
                                view_.PixelY(mesh.vertices[i][1]), kPlainMeshShade, kPlainMeshShade,
                                kPlainMeshShade};
            if (coloured) {
                shaded.red = static_cast<float>(mesh.vertexColours[i][0]);
                shaded.green = static_cast<float>(mesh.vertexColours[i][1]);
                shaded.blue = static_cast<float>(mesh.vertexColours[i][2]);
            }
            corners_.push_back(SnapCorner(shaded));
        }
        kafhost::forEachFace(mesh, [this, &mesh](const int* face, std::size_t size) {
            if (!ValidFace(face, size, mesh.vertices.size())) {
                return;
            }
            // A face of more than three corners is filled as a fan around its first corner.
            const SnappedCorner& first = corners_[static_cast<std::size_t>(face[0])];
            for (std::size_t i = 1; i + 1 < size; ++i) {
                ShadeSnappedTriangle(image_, first, corners_[static_cast<std::size_t>(face[i])],
                                     corners_[static_cast<std::size_t>(face[i + 1])]);
            }
        });
    }

    // The edges of a subdivision mesh, each shared edge drawn once.
    void MeshEdges(const EntityInfo& mesh) {
        std::vector<std::pair<int, int>> edges;
        kafhost::forEachFace(mesh, [&edges, &mesh](const int* face, std::size_t size) {
            if (!ValidFace(face, size, mesh.vertices.size())) {
                return;
            }
            for (std::size_t i = 0; i < size; ++i) {
                const int a = face[i];
                const int b = face[(i + 1) % size];
                edges.emplace_back(std::min(a, b), std::max(a, b));
            }
        });
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        for (const auto& [a, b] : edges) {
            Line(mesh.vertices[static_cast<std::size_t>(a)],
                 mesh.vertices[static_cast<std::size_t>(b)], kPlainMeshEdges,
                 kPlainMeshEdgeStrength);
        }
    }

    // Face records hold vertex numbers from 1; 0 ends the face; a negative number hides the
    // edge that starts at its vertex.
    void PolyFaceMeshEdges(const EntityInfo& mesh, std::uint32_t colour) {
        const auto count = static_cast<int>(mesh.vertices.size());
        for (const std::vector<int>& record : mesh.faces) {
            std::vector<int> numbers;
            for (const int number : record) {
                if (number != 0) {
                    numbers.push_back(number);
                }
            }
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                const int from = numbers[i];
                const int to = std::abs(numbers[(i + 1) % numbers.size()]);
                if (from < 0 || from > count || to > count || from == to) {
                    continue;
                }
                Line(mesh.vertices[static_cast<std::size_t>(from - 1)],
                     mesh.vertices[static_cast<std::size_t>(to - 1)], colour, kFaceEdgeStrength);
            }
        }
    }

    void FaceEdges(const EntityInfo& face, std::uint32_t colour) {
        const std::size_t count = face.corners.size();
        for (std::size_t i = 0; i < count; ++i) {
            const bool visible = face.edgeVisible.size() != count || face.edgeVisible[i];
            const kafhost::Point3& from = face.corners[i];
            const kafhost::Point3& to = face.corners[(i + 1) % count];
            if (visible && from != to) {
                Line(from, to, colour, kFaceEdgeStrength);
            }
        }
    }

private:
    void Line(const kafhost::Point3& from, const kafhost::Point3& to, std::uint32_t colour,
              float strength) {
        DrawLine(image_, view_.PixelX(from[0]), view_.PixelY(from[1]), view_.PixelX(to[0]),
                 view_.PixelY(to[1]), colour, strength);
    }

    PixelImage image_;
    ViewTransform view_;
    std::vector<SnappedCorner> corners_;  // of the mesh being filled
};

// Polylines and lines are drawn by cairo, which joins their segments and gives them width. A 3D
// polyline is drawn by the plan positions of its vertices, a line by those of its ends.
void DrawPolyline(cairo_t* context, const EntityInfo& polyline, const ViewTransform& view) {
    std::vector<kafhost::Point2> path;
    if (polyline.type == EntityKind::kPolyline3d || polyline.type == EntityKind::kLine) {
        const bool line = polyline.type == EntityKind::kLine;
        for (const kafhost::Point3& vertex : line ? polyline.corners : polyline.vertices) {
            path.push_back(kafhost::Point2{vertex[0], vertex[1]});
        }
    } else {
        path = PolylinePath(polyline);
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        const double x = view.PixelX(path[i][0]);
        const double y = view.PixelY(path[i][1]);
        if (i == 0) {
            cairo_move_to(context, x, y);
        } else {
            cairo_line_to(context, x, y);
        }
    }
    if (polyline.closed && path.size() > 2) {
        cairo_close_path(context);
    }
    cairo_stroke(context);
}

}  // namespace

void RenderTopView(const kafhost::DrawingSnapshot& drawing, const std::string& path, int width,
                   int height) {
    const PngCanvas canvas(width, height);
    cairo_t* cr = canvas.Context();

    const std::vector<const EntityInfo*> shown = ShownEntities(drawing);
    std::vector<const EntityInfo*> byElevation;
    std::vector<const EntityInfo*> byCutFill;
    for (const EntityInfo* entity : shown) {
        (IsCutFillMap(*entity) ? byCutFill : byElevation).push_back(entity);
    }
    const ElevationRamp ramp(byElevation);
    const ElevationRamp cutFill(byCutFill);
    const bool room = width >= kLegendMinWidth && height >= kLegendMinHeight;
    const int panels = room ? (ramp.Empty() ? 0 : 1) + (cutFill.Empty() ? 0 : 1) : 0;
    const int viewWidth = width - panels * kLegendWidth;
    const ViewTransform view = FitView(DrawingExtent(drawing), viewWidth, height);
    PixelPainter painter(canvas.Pixels(), view);
    const LayerStyles styles(drawing.layers);
    for (const EntityInfo* entity : shown) {
        if (entity->type == EntityKind::kSubDMesh) {
            painter.FillMesh(*entity);
        }
    }
    for (const EntityInfo* entity : shown) {
        if (entity->type == EntityKind::kSubDMesh && !HasVertexColours(*entity)) {
            painter.MeshEdges(*entity);
        }
    }
    for (const EntityInfo* entity : shown) {
        const std::uint32_t colour = PixelColour(styles.Colour(*entity, RgbOf(kFaceEdges)));
        if (entity->type == EntityKind::kPolyFaceMesh) {
            painter.PolyFaceMeshEdges(*entity, colour);
        } else if (entity->type == EntityKind::kFace) {
            painter.FaceEdges(*entity, colour);
        }
    }
    canvas.MarkDirty();

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const EntityInfo* entity : shown) {
        if (entity->type == EntityKind::kPolyline || entity->type == EntityKind::kPolyline3d ||
            entity->type == EntityKind::kLine) {
            const kafhost::Rgb rgb = styles.Colour(*entity, kPolylineColour);
            cairo_set_source_rgb(cr, rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0);
            cairo_set_line_width(cr, styles.LineWidth(*entity));
            DrawPolyline(cr, *entity, view);
        }
    }
    for (const EntityInfo* entity : shown) {
        if (entity->type == EntityKind::kPoint) {
            DrawPointMark(cr, *entity, view, styles.Colour(*entity, kTextColour));
        } else if (entity->type == EntityKind::kText) {
            DrawText(cr, *entity, view, styles.Colour(*entity, kTextColour));
        }
    }
    if (panels > 0) {
        double left = viewWidth;
        if (!ramp.Empty()) {
            DrawElevationLegend(cr, ramp, left, kLegendWidth, height);
            left += kLegendWidth;
        }
        if (!cutFill.Empty()) {
            DrawCutFillLegend(cr, cutFill, left, kLegendWidth, height);
        }
    }
    if (width >= kLegendMinWidth && height >= kLegendMinHeight) {
        DrawScaleBar(cr, view, viewWidth, height);
    }
    canvas.Save(path);
}

}  // namespace kafcad
