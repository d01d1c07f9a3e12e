#include "platform/files/dxf/plan.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/dxf/text.h"

namespace kafhost {
namespace {

std::vector<const EntityInfo*> writtenEntities(const std::vector<EntityInfo>& entities) {
    std::vector<const EntityInfo*> written;
    for (const wchar_t* space : {L"model", L"paper"}) {
        for (const EntityInfo& entity : entities) {
            if (!entity.erased && entity.space == space) {
                written.push_back(&entity);
            }
        }
    }
    for (const EntityInfo& entity : entities) {
        if (entity.space != L"model" && entity.space != L"paper") {
            throw DrawingFileError("entity " + wideToUtf8(entity.handle) + ": unknown space \"" +
                                   wideToUtf8(entity.space) + "\"");
        }
    }
    return written;
}

void addToExtents(DxfDrawingPlan& plan, const Point3& point) {
    if (!plan.hasExtents) {
        plan.extentsMin = plan.extentsMax = point;
        plan.hasExtents = true;
        return;
    }
    for (std::size_t axis = 0; axis < 3; ++axis) {
        plan.extentsMin[axis] = std::min(plan.extentsMin[axis], point[axis]);
        plan.extentsMax[axis] = std::max(plan.extentsMax[axis], point[axis]);
    }
}

void addEntityToExtents(DxfDrawingPlan& plan, const EntityInfo& entity) {
    for (const Point3& corner : entity.corners) {
        addToExtents(plan, corner);
    }
    for (const Point3& vertex : entity.vertices) {
        addToExtents(plan, vertex);
    }
    for (const Point2& point : entity.points) {
        addToExtents(plan, Point3{point[0], point[1], entity.elevation});
    }
    if (entity.type == EntityKind::kPoint || entity.type == EntityKind::kText) {
        addToExtents(plan, entity.position);
    }
}

// DXF has no infinities or NaN.
bool allFinite(const EntityInfo& entity) {
    bool finite = std::isfinite(entity.elevation);
    for (const auto* points : {&entity.corners, &entity.vertices}) {
        for (const Point3& point : *points) {
            finite = finite && std::isfinite(point[0]) && std::isfinite(point[1]) &&
                     std::isfinite(point[2]);
        }
    }
    for (const Point2& point : entity.points) {
        finite = finite && std::isfinite(point[0]) && std::isfinite(point[1]);
    }
    for (const double bulge : entity.bulges) {
        finite = finite && std::isfinite(bulge);
    }
    for (const Point3* point : {&entity.position, &entity.alignmentPoint}) {
        finite = finite && std::isfinite((*point)[0]) && std::isfinite((*point)[1]) &&
                 std::isfinite((*point)[2]);
    }
    return finite && std::isfinite(entity.height) && std::isfinite(entity.rotation);
}

}  // namespace

std::vector<LayerInfo> dxfLayersZeroFirst(const std::vector<LayerInfo>& layers) {
    std::vector<LayerInfo> ordered;
    const auto zero = std::find_if(layers.begin(), layers.end(),
                                   [](const LayerInfo& layer) { return layer.name == L"0"; });
    ordered.push_back(zero == layers.end() ? LayerInfo{L"0", false} : *zero);
    for (const LayerInfo& layer : layers) {
        if (layer.name != L"0") {
            ordered.push_back(layer);
        }
    }
    return ordered;
}

DxfDrawingPlan planDxfDrawing(const DrawingSnapshot& drawing) {
    DxfDrawingPlan plan;
    plan.layers = dxfLayersZeroFirst(drawing.layers);
    std::unordered_map<std::wstring, std::size_t> layerKeys;
    for (const LayerInfo& layer : plan.layers) {
        if (!layerKeys.emplace(dxfNameKey(layer.name), plan.layerNames.size()).second) {
            throw DrawingFileError("layer \"" + wideToUtf8(layer.name) + "\" is listed twice");
        }
        plan.layerNames.push_back(encodeDxfName(layer.name, "layer"));
        const DxfLinetype* linetype = findDxfLinetype(layer.linetype);
        if (linetype == nullptr) {
            throw DrawingFileError("layer \"" + wideToUtf8(layer.name) + "\": linetype \"" +
                                   wideToUtf8(layer.linetype) +
                                   "\" is not one kafcad can write (Continuous, DASHED, HIDDEN, "
                                   "CENTER, DOT, DASHDOT, PHANTOM)");
        }
        if (!linetype->pattern.empty() && std::find(plan.linetypes.begin(), plan.linetypes.end(),
                                                    linetype) == plan.linetypes.end()) {
            plan.linetypes.push_back(linetype);
        }
    }

    plan.entities = writtenEntities(drawing.entities);
    std::vector<std::uint64_t> ownCounts;
    for (const EntityInfo* entity : plan.entities) {
        ownCounts.push_back(dxfOwnHandleCount(*entity));
    }
    // The linetypes take handles after the layers'.
    plan.handles =
        planDxfHandles(plan.entities, plan.layers.size() + plan.linetypes.size(), ownCounts);
    plan.linetypeHandles.assign(plan.handles.layers.end() - plan.linetypes.size(),
                                plan.handles.layers.end());
    plan.handles.layers.resize(plan.layers.size());

    for (std::size_t i = 0; i < plan.entities.size(); ++i) {
        const EntityInfo& entity = *plan.entities[i];
        const std::string name = "entity " + wideToUtf8(handleText(plan.handles.entities[i]));
        const auto layer = layerKeys.find(dxfNameKey(entity.layer));
        if (layer == layerKeys.end()) {
            throw DrawingFileError(name + ": no layer \"" + wideToUtf8(entity.layer) +
                                   "\" in the drawing");
        }
        DxfEntityHead head;
        head.handle = plan.handles.entities[i];
        head.paperSpace = entity.space == L"paper";
        head.owner = plan.handles.fixed(head.paperSpace ? DxfFixed::kPaperSpaceRecord
                                                        : DxfFixed::kModelSpaceRecord);
        head.layer = plan.layerNames[layer->second];
        head.colorIndex = entity.colorIndex;
        head.trueColor = entity.trueColor;
        if (!allFinite(entity)) {
            throw DrawingFileError(name + ": not a finite number");
        }
        if (entity.type == EntityKind::kText && dxfNameKey(entity.textStyle) != L"STANDARD") {
            throw DrawingFileError(name + ": text style \"" + wideToUtf8(entity.textStyle) +
                                   "\" is not in the drawing, whose only text style is Standard");
        }
        if (!head.paperSpace) {
            addEntityToExtents(plan, entity);
        }
        plan.heads.push_back(std::move(head));
    }
    return plan;
}

}  // namespace kafhost
