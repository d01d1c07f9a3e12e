#include "kafhost/entity_kind.h"

#include <cstddef>
#include <utility>

namespace kafhost {
namespace {

// Each kind once, with its class name.
constexpr std::pair<EntityKind, const wchar_t*> kNames[] = {
    {EntityKind::kFace, L"AcDbFace"},
    {EntityKind::kPolyFaceMesh, L"AcDbPolyFaceMesh"},
    {EntityKind::kSubDMesh, L"AcDbSubDMesh"},
    {EntityKind::kPolyline, L"AcDbPolyline"},
    {EntityKind::kPolyline3d, L"AcDb3dPolyline"},
    {EntityKind::kPoint, L"AcDbPoint"},
    {EntityKind::kLine, L"AcDbLine"},
    {EntityKind::kText, L"AcDbText"},
};

}  // namespace

const wchar_t* entityKindName(EntityKind kind) {
    for (const auto& entry : kNames) {
        if (entry.first == kind) {
            return entry.second;
        }
    }
    return L"";
}

bool entityKindNamed(const std::wstring& name, EntityKind& kind) {
    for (const auto& entry : kNames) {
        if (name == entry.second) {
            kind = entry.first;
            return true;
        }
    }
    return false;
}

}  // namespace kafhost
