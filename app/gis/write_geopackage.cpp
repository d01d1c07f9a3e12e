#include "app/gis/write_geopackage.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <functional>
#include <map>

#include "app/gis/gdal_file_output.h"
#include "app/gis/gdal_session.h"
#include "app/gis/surface_triangles.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

enum class Kind { kLines, kFaces, kPoints };

Kind KindOf(const kafhost::EntityInfo& entity, bool& written) {
    written = true;
    if (entity.type == kafhost::EntityKind::kPolyline ||
        entity.type == kafhost::EntityKind::kPolyline3d ||
        entity.type == kafhost::EntityKind::kLine) {
        return Kind::kLines;
    }
    if (IsSurface(entity)) {
        return Kind::kFaces;
    }
    written = entity.type == kafhost::EntityKind::kPoint;
    return Kind::kPoints;
}

struct FeatureDeleter {
    void operator()(void* feature) const { OGR_F_Destroy(feature); }
};

struct SpatialReferenceDeleter {
    void operator()(void* reference) const { OSRRelease(reference); }
};

void Check(bool done, const std::string& what) {
    if (!done) {
        throw GisError(GdalReason("GDAL cannot " + what));
    }
}

// The vertices of a line entity, with its elevation when all share one.
std::vector<kafhost::Point3> LineVertices(const kafhost::EntityInfo& entity, bool& arcs) {
    std::vector<kafhost::Point3> vertices;
    if (entity.type == kafhost::EntityKind::kPolyline) {
        for (const kafhost::Point2& point : entity.points) {
            vertices.push_back({point[0], point[1], entity.elevation});
        }
        for (const double bulge : entity.bulges) {
            arcs = arcs || bulge != 0.0;
        }
    } else if (entity.type == kafhost::EntityKind::kLine) {
        vertices = entity.corners;
    } else {
        vertices = entity.vertices;
    }
    if (entity.closed && vertices.size() > 1) {
        vertices.push_back(vertices.front());
    }
    return vertices;
}

class LayerWriter {
public:
    LayerWriter(GDALDatasetH dataset, OGRSpatialReferenceH reference)
        : dataset_(dataset), reference_(reference) {}

    OGRLayerH LayerFor(const std::string& name, Kind kind) {
        const auto found = layers_.find(name);
        if (found != layers_.end()) {
            return found->second;
        }
        const OGRwkbGeometryType type = kind == Kind::kLines   ? wkbLineString25D
                                        : kind == Kind::kFaces ? wkbPolygon25D
                                                               : wkbPoint25D;
        OGRLayerH layer = GDALDatasetCreateLayer(dataset_, name.c_str(), reference_, type, nullptr);
        Check(layer != nullptr, "make the layer " + name);
        AddField(layer, "handle", OFTString);
        if (kind == Kind::kLines) {
            AddField(layer, "elevation", OFTReal);
        } else if (kind == Kind::kFaces) {
            AddField(layer, "face", OFTInteger);
        }
        layers_[name] = layer;
        return layer;
    }

    static void Add(OGRLayerH layer, OGRGeometryH geometry, const kafhost::EntityInfo& entity,
                    const std::function<void(OGRFeatureH)>& fields) {
        const std::unique_ptr<void, FeatureDeleter> feature(
            OGR_F_Create(OGR_L_GetLayerDefn(layer)));
        OGR_F_SetFieldString(feature.get(), 0, kafhost::wideToUtf8(entity.handle).c_str());
        fields(feature.get());
        OGR_F_SetGeometryDirectly(feature.get(), geometry);
        Check(OGR_L_CreateFeature(layer, feature.get()) == OGRERR_NONE, "write a feature");
    }

private:
    static void AddField(OGRLayerH layer, const char* name, OGRFieldType type) {
        OGRFieldDefnH field = OGR_Fld_Create(name, type);
        const OGRErr made = OGR_L_CreateField(layer, field, TRUE);
        OGR_Fld_Destroy(field);
        Check(made == OGRERR_NONE, std::string("make the field ") + name);
    }

    GDALDatasetH dataset_;
    OGRSpatialReferenceH reference_;
    std::map<std::string, OGRLayerH> layers_;
};

void WriteEntity(LayerWriter& writer, OGRLayerH layer, Kind kind, const kafhost::EntityInfo& entity,
                 bool& arcs) {
    if (kind == Kind::kPoints) {
        OGRGeometryH point = OGR_G_CreateGeometry(wkbPoint25D);
        OGR_G_SetPoint(point, 0, entity.position[0], entity.position[1], entity.position[2]);
        writer.Add(layer, point, entity, [](OGRFeatureH) {});
        return;
    }
    if (kind == Kind::kLines) {
        const std::vector<kafhost::Point3> vertices = LineVertices(entity, arcs);
        OGRGeometryH line = OGR_G_CreateGeometry(wkbLineString25D);
        bool level = !vertices.empty();
        for (const kafhost::Point3& vertex : vertices) {
            OGR_G_AddPoint(line, vertex[0], vertex[1], vertex[2]);
            level = level && vertex[2] == vertices.front()[2];
        }
        writer.Add(layer, line, entity, [&](OGRFeatureH feature) {
            if (level) {
                OGR_F_SetFieldDouble(feature, 1, vertices.front()[2]);
            }
        });
        return;
    }
    int number = 0;
    for (const std::vector<kafhost::Point3>& corners : SurfaceFaces(entity)) {
        ++number;
        if (corners.size() < 3) {
            continue;  // a face without area
        }
        OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
        for (const kafhost::Point3& corner : corners) {
            OGR_G_AddPoint(ring, corner[0], corner[1], corner[2]);
        }
        OGR_G_AddPoint(ring, corners.front()[0], corners.front()[1], corners.front()[2]);
        OGRGeometryH polygon = OGR_G_CreateGeometry(wkbPolygon25D);
        OGR_G_AddGeometryDirectly(polygon, ring);
        writer.Add(layer, polygon, entity,
                   [number](OGRFeatureH feature) { OGR_F_SetFieldInteger(feature, 1, number); });
    }
}

}  // namespace

void WriteGeoPackage(const kafhost::DrawingSnapshot& drawing,
                     const std::optional<CoordinateSystem>& system, const std::string& path,
                     std::vector<std::string>& notes) {
    // Which kinds each drawing layer holds decides the GeoPackage layers' names.
    std::map<std::wstring, std::map<Kind, int>> kinds;
    std::map<std::string, int> leftOut;
    for (const kafhost::EntityInfo& entity : drawing.entities) {
        bool written = false;
        const Kind kind = KindOf(entity, written);
        if (entity.erased) {
            continue;
        }
        if (!written || entity.space != L"model") {
            ++leftOut[kafhost::wideToUtf8(kafhost::entityKindName(entity.type)) +
                      (entity.space == L"model" ? "" : " in paper space")];
            continue;
        }
        ++kinds[entity.layer][kind];
    }
    bool arcs = false;
    WriteThroughGdal(path, [&](const std::string& memoryPath) {
        GDALDriverH driver = GDALGetDriverByName("GPKG");
        Check(driver != nullptr, "find its GeoPackage driver");
        DatasetHandle dataset(
            GDALCreate(driver, memoryPath.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        Check(dataset != nullptr, "make the GeoPackage");
        std::unique_ptr<void, SpatialReferenceDeleter> reference;
        if (system) {
            reference.reset(OSRNewSpatialReference(system->wkt.c_str()));
            Check(reference != nullptr, "take the coordinate system " + system->label);
        }
        LayerWriter writer(dataset.get(), reference.get());
        Check(GDALDatasetStartTransaction(dataset.get(), FALSE) == OGRERR_NONE,
              "begin writing the GeoPackage");
        for (const kafhost::EntityInfo& entity : drawing.entities) {
            bool written = false;
            const Kind kind = KindOf(entity, written);
            if (entity.erased || !written || entity.space != L"model") {
                continue;
            }
            std::string name = kafhost::wideToUtf8(entity.layer);
            if (kinds[entity.layer].size() > 1) {
                name += kind == Kind::kLines   ? " lines"
                        : kind == Kind::kFaces ? " faces"
                                               : " points";
            }
            WriteEntity(writer, writer.LayerFor(name, kind), kind, entity, arcs);
        }
        Check(GDALDatasetCommitTransaction(dataset.get()) == OGRERR_NONE,
              "finish writing the GeoPackage");
    });
    for (const auto& [kind, count] : leftOut) {
        notes.push_back("left out " + std::to_string(count) + " " + kind +
                        " (GeoPackage layers hold the lines, faces and points of model space)");
    }
    if (arcs) {
        notes.push_back("arcs of polylines written as straight segments (LINESTRING Z)");
    }
}

}  // namespace kafcad
