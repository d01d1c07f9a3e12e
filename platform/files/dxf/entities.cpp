// ENTITIES: writing the drawing's entities, model space first, and reading them back, skipping
// the kinds the drawing cannot hold.
#include <string>

#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/dxf/3dface.h"
#include "platform/files/dxf/line.h"
#include "platform/files/dxf/lwpolyline.h"
#include "platform/files/dxf/mesh.h"
#include "platform/files/dxf/point.h"
#include "platform/files/dxf/polyline.h"
#include "platform/files/dxf/polyline_3d.h"
#include "platform/files/dxf/sections.h"
#include "platform/files/dxf/text_entity.h"

namespace kafhost {

void writeDxfEntity(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& entity,
                    std::uint64_t firstOwnHandle) {
    switch (entity.type) {
        case EntityKind::kFace:
            return writeDxf3DFace(writer, head, entity);
        case EntityKind::kPolyFaceMesh:
            return writeDxfPolyFaceMesh(writer, head, entity, firstOwnHandle);
        case EntityKind::kSubDMesh:
            return writeDxfMesh(writer, head, entity, firstOwnHandle);
        case EntityKind::kPolyline:
            return writeDxfLwPolyline(writer, head, entity);
        case EntityKind::kPolyline3d:
            return writeDxf3dPolyline(writer, head, entity, firstOwnHandle);
        case EntityKind::kPoint:
            return writeDxfPoint(writer, head, entity);
        case EntityKind::kLine:
            return writeDxfLine(writer, head, entity);
        case EntityKind::kText:
            return writeDxfText(writer, head, entity);
    }
    throw DrawingFileError("unknown entity type");
}

std::uint64_t dxfOwnHandleCount(const EntityInfo& entity) {
    if (entity.type == EntityKind::kPolyFaceMesh) {
        return dxfPolyFaceMeshOwnHandles(entity);
    }
    if (entity.type == EntityKind::kSubDMesh) {
        return dxfMeshOwnHandles(entity);
    }
    if (entity.type == EntityKind::kPolyline3d) {
        return dxf3dPolylineOwnHandles(entity);
    }
    return 0;
}

void writeDxfEntities(DxfWriter& writer, const DxfDrawingPlan& plan) {
    writer.text(0, "SECTION");
    writer.text(2, "ENTITIES");
    for (std::size_t i = 0; i < plan.entities.size(); ++i) {
        try {
            writeDxfEntity(writer, plan.heads[i], *plan.entities[i],
                           plan.handles.firstOwnHandles[i]);
        } catch (const DxfFileWriteError&) {
            throw;
        } catch (const DrawingFileError& error) {
            throw DrawingFileError("entity " + wideToUtf8(handleText(plan.heads[i].handle)) + ": " +
                                   error.what());
        }
    }
    writer.text(0, "ENDSEC");
}

void readDxfEntities(DxfTagReader& reader, DxfDrawingRead& drawing) {
    drawing.entitiesSection = true;
    while (!reader.is(0, "ENDSEC")) {
        if (reader.code() != 0) {
            reader.fail("expected an entity (group code 0), found group code " +
                        std::to_string(reader.code()));
        }
        DxfReadEntity entity;
        entity.head.line = reader.tag().line;
        entity.begin = reader.offset();
        const std::string kind(reader.text());
        if (kind == "3DFACE") {
            readDxf3DFace(reader, entity);
        } else if (kind == "MESH") {
            readDxfMesh(reader, entity);
        } else if (kind == "POINT") {
            readDxfPoint(reader, entity);
        } else if (kind == "LINE") {
            if (!readDxfLine(reader, entity)) {
                ++drawing.skippedEntities[kind];
                continue;
            }
        } else if (kind == "TEXT") {
            readDxfText(reader, entity);
        } else if (kind == "LWPOLYLINE") {
            readDxfLwPolyline(reader, entity);
        } else if (kind == "POLYLINE") {
            if (!readDxfPolyline(reader, entity)) {
                ++drawing.skippedPolylines;
                continue;
            }
        } else if (kind == "VERTEX" || kind == "SEQEND") {
            reader.fail(kind + " outside a POLYLINE");
        } else {
            ++drawing.skippedEntities[kind];
            skipDxfEntity(reader);
            continue;
        }
        entity.end = reader.offset();
        entity.info.colorIndex = entity.head.colorIndex;
        entity.info.trueColor = entity.head.trueColor;
        drawing.entities.push_back(std::move(entity));
    }
    drawing.entitiesEnd = reader.offset();
}

}  // namespace kafhost
