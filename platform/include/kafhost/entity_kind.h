// The kinds of entity a drawing holds, and their class names ("AcDbFace" ...), which the host's
// API (isA()->name()) and the JSON drawing file use as text.
// entityKindName(kind): the class name of the kind.
// entityKindNamed(name, kind): sets kind to the one whose class name is name; false (kind left
//   as it was) when no kind has that name.
#pragma once

#include <string>

namespace kafhost {

enum class EntityKind {
    kFace,
    kPolyFaceMesh,
    kSubDMesh,
    kPolyline,
    kPolyline3d,
    kPoint,
    kLine,
    kText,
};

const wchar_t* entityKindName(EntityKind kind);
bool entityKindNamed(const std::wstring& name, EntityKind& kind);

}  // namespace kafhost
