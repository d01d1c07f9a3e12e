#include "app/program/entities/entity_groups.h"

#include <vector>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/cons.h"
#include "app/lisp/error.h"
#include "app/lisp/opaque_values.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::Point2;
using kafhost::Point3;

Value Group(int code, const Value& value) {
    return Cons(Value::integer(code), value);
}

Value Point3Group(int code, const Point3& p) {
    return Group(code, Value::point(p[0], p[1], p[2]));
}

void AddVertices(std::vector<Value>& groups, const std::vector<Point3>& vertices) {
    for (const Point3& vertex : vertices) {
        groups.push_back(Point3Group(10, vertex));
    }
}

void AddPolyline(std::vector<Value>& groups, const EntityInfo& entity, bool withGeometry) {
    groups.push_back(Group(90, Value::integer(static_cast<std::int32_t>(entity.points.size()))));
    groups.push_back(Group(70, Value::integer(entity.closed ? 1 : 0)));
    groups.push_back(Group(38, Value::real(entity.elevation)));
    if (!withGeometry) {
        return;
    }
    for (std::size_t i = 0; i < entity.points.size(); ++i) {
        groups.push_back(Group(10, Value::point(entity.points[i][0], entity.points[i][1])));
        groups.push_back(Group(42, Value::real(i < entity.bulges.size() ? entity.bulges[i] : 0.0)));
    }
}

void AddFace(std::vector<Value>& groups, const EntityInfo& entity, bool withGeometry) {
    int invisible = 0;
    for (std::size_t i = 0; i < entity.edgeVisible.size() && i < 4; ++i) {
        invisible |= entity.edgeVisible[i] ? 0 : 1 << i;
    }
    if (withGeometry) {
        for (std::size_t i = 0; i < entity.corners.size() && i < 4; ++i) {
            groups.push_back(Point3Group(10 + static_cast<int>(i), entity.corners[i]));
        }
    }
    groups.push_back(Group(70, Value::integer(invisible)));
}

void AddSubDMesh(std::vector<Value>& groups, const EntityInfo& entity, bool withGeometry) {
    groups.push_back(Group(71, Value::integer(2)));
    groups.push_back(Group(72, Value::integer(0)));
    groups.push_back(Group(91, Value::integer(entity.subDLevel)));
    groups.push_back(Group(92, Value::integer(static_cast<std::int32_t>(entity.vertices.size()))));
    if (!withGeometry) {
        return;
    }
    AddVertices(groups, entity.vertices);
    std::vector<Value> faceList;
    for (const std::vector<int>& face : entity.faces) {
        faceList.push_back(Group(90, Value::integer(static_cast<std::int32_t>(face.size()))));
        for (const int index : face) {
            faceList.push_back(Group(90, Value::integer(index)));
        }
    }
    groups.push_back(Group(93, Value::integer(static_cast<std::int32_t>(faceList.size()))));
    groups.insert(groups.end(), faceList.begin(), faceList.end());
}

// (62 . index) when the entity has a colour of its own (none for BYLAYER), (420 . 0xRRGGBB) for
// a true colour. Selection filters see (62 . 256) for BYLAYER, as the host's ssget matches it.
void AddColour(std::vector<Value>& groups, const EntityInfo& entity, bool forFilter) {
    if (entity.colorIndex != 256 || forFilter) {
        groups.push_back(Group(62, Value::integer(entity.colorIndex)));
    }
    if (entity.trueColor >= 0) {
        groups.push_back(Group(420, Value::integer(entity.trueColor)));
    }
}

void AddText(std::vector<Value>& groups, const EntityInfo& entity, bool withGeometry) {
    if (withGeometry) {
        groups.push_back(Point3Group(10, entity.position));
    }
    groups.push_back(Group(40, Value::real(entity.height)));
    groups.push_back(Group(1, Value::string(entity.text)));
    groups.push_back(Group(50, Value::real(entity.rotation)));
    groups.push_back(Group(7, Value::string(entity.textStyle)));
    groups.push_back(Group(72, Value::integer(entity.horizontalMode)));
    if (withGeometry) {
        groups.push_back(Point3Group(11, entity.alignmentPoint));
    }
    groups.push_back(Group(73, Value::integer(entity.verticalMode)));
}

[[noreturn]] void CannotHold(const std::string& what) {
    throw LispError("kafcad's drawing cannot hold " + what);
}

double Real(const Value& value) {
    return NumberArgument(value);
}

Point3 PointOf(const Value& group) {
    const Value value = GroupValue(group);
    const std::vector<Value>& items = ListArgument(value);
    if (items.size() < 2 || items.size() > 3) {
        BadArgumentType("2D/3D point:", value);
    }
    return Point3{Real(items[0]), Real(items[1]), items.size() == 3 ? Real(items[2]) : 0.0};
}

// The entity's type from group 0 of a new entity.
void SetTypeFromName(const std::wstring& name, int flags, EntityInfo& entity) {
    const std::string type = kafhost::wideToUtf8(name);
    if (type == "LWPOLYLINE") {
        entity.type = EntityKind::kPolyline;
    } else if (type == "3DFACE") {
        entity.type = EntityKind::kFace;
    } else if (type == "POINT") {
        entity.type = EntityKind::kPoint;
    } else if (type == "TEXT") {
        entity.type = EntityKind::kText;
    } else if (type == "POLYLINE" && (flags & 8) != 0) {
        entity.type = EntityKind::kPolyline3d;
    } else if (type == "POLYLINE") {
        CannotHold("a POLYLINE other than a 3D polyline (70 . 8) from entmake");
    } else if (type == "LINE") {
        entity.type = EntityKind::kLine;
    } else {
        CannotHold(type +
                   " entities (it holds LINE, LWPOLYLINE, 3D POLYLINE, 3DFACE, POINT, TEXT and the "
                   "meshes the module makes)");
    }
}

bool IsVertexCode(int code) {
    return code >= 10 && code <= 13;
}

[[noreturn]] void CannotHoldGroup(int code) {
    CannotHold("group " + std::to_string(code) + " of an entity");
}

// An integer group's value within [low, high]; "bad argument value: DXF group X" otherwise.
int BoundedInteger(const Value& group, int low, int high) {
    const int value = IntegerArgument(GroupValue(group));
    if (value < low || value > high) {
        BadArgumentValue("DXF group", group);
    }
    return value;
}

// The groups every entity has: type (0), handle (5), layer (8), colour (62, 420), space (67)
// and those kafcad gives or ignores as the host does (-1, 100, 410). False for others.
bool ApplyCommonGroup(const Value& group, EntityInfo& entity) {
    const int code = GroupCode(group);
    if (code == 8) {
        entity.layer = StringArgument(GroupValue(group));
    } else if (code == 62) {
        // An index given alone replaces a true colour, as choosing an index colour does.
        entity.colorIndex = BoundedInteger(group, 0, 256);
        entity.trueColor = -1;
    } else if (code == 67) {
        entity.space = IntegerArgument(GroupValue(group)) == 1 ? L"paper" : L"model";
    } else {
        return code == -1 || code == 0 || code == 5 || code == 100 || code == 410 || code == 420;
    }
    return true;
}

// A true colour (420) after the index (62), which would otherwise clear it.
void ApplyTrueColour(const std::vector<Value>& items, EntityInfo& entity) {
    for (const Value& group : items) {
        if (GroupCode(group) == 420) {
            entity.trueColor = BoundedInteger(group, 0, 0xFFFFFF);
        }
    }
}

// TEXT: position (10), alignment point (11; the position for a text left-aligned on its baseline,
// which has none of its own, and for a new text without one), height (40, 2.5 for a new text
// without one), string (1), rotation (50, radians), style (7), alignment (72, 73).
void ApplyTextGroups(const std::vector<Value>& items, bool isNew, EntityInfo& entity) {
    bool alignmentGiven = false;
    if (isNew) {
        entity.height = 2.5;
    }
    for (const Value& group : items) {
        const int code = GroupCode(group);
        const Value value = GroupValue(group);
        if (code == 10) {
            entity.position = PointOf(group);
        } else if (code == 11) {
            entity.alignmentPoint = PointOf(group);
            alignmentGiven = true;
        } else if (code == 40) {
            entity.height = Real(value);
            if (!(entity.height > 0.0)) {
                BadArgumentValue("DXF group", group);
            }
        } else if (code == 1) {
            entity.text = StringArgument(value);
            if (entity.text.find_first_of(L"\r\n") != std::wstring::npos) {
                BadArgumentValue("DXF group", group);
            }
        } else if (code == 50) {
            entity.rotation = Real(value);
        } else if (code == 7) {
            entity.textStyle = StringArgument(value);
        } else if (code == 72) {
            entity.horizontalMode = BoundedInteger(group, 0, 5);
        } else if (code == 73) {
            entity.verticalMode = BoundedInteger(group, 0, 3);
        } else {
            CannotHoldGroup(code);
        }
    }
    const bool leftOnBaseline = entity.horizontalMode == 0 && entity.verticalMode == 0;
    if (leftOnBaseline || (isNew && !alignmentGiven)) {
        entity.alignmentPoint = entity.position;
    }
}

// POINT: its position (10).
void ApplyPointGroups(const std::vector<Value>& items, EntityInfo& entity) {
    for (const Value& group : items) {
        if (GroupCode(group) == 10) {
            entity.position = PointOf(group);
        } else {
            CannotHoldGroup(GroupCode(group));
        }
    }
}

// LINE: its start point (10) and end point (11), both needed for a new line.
void ApplyLineGroups(const std::vector<Value>& items, bool isNew, EntityInfo& entity) {
    std::vector<bool> given(2, !isNew);
    entity.corners.resize(2, Point3{0.0, 0.0, 0.0});
    for (const Value& group : items) {
        const int code = GroupCode(group);
        if (code != 10 && code != 11) {
            CannotHoldGroup(code);
        }
        entity.corners[static_cast<std::size_t>(code - 10)] = PointOf(group);
        given[static_cast<std::size_t>(code - 10)] = true;
    }
    if (!given[0] || !given[1]) {
        throw LispError(
            "bad argument value: a LINE needs a start point (10) and an end point (11)");
    }
}

// Polylines, 3D polylines, 3D faces and meshes: vertices or corners (10-13), bulges (42, after
// their vertex), elevation (38) and the flags (70).
void ApplyVertexGroups(const std::vector<Value>& items, int flags, bool isNew, EntityInfo& entity) {
    std::vector<Point3> vertices;
    std::vector<double> bulges;
    bool verticesGiven = false;
    for (const Value& group : items) {
        const int code = GroupCode(group);
        const Value value = GroupValue(group);
        if (IsVertexCode(code)) {
            verticesGiven = true;
            vertices.push_back(PointOf(group));
            bulges.push_back(0.0);
        } else if (code == 42) {
            if (!bulges.empty()) {
                bulges.back() = Real(value);
            }
        } else if (code == 38) {
            entity.elevation = Real(value);
        } else if (code != 66 && code != 70 && code != 71 && code != 72 && code != 90 &&
                   code != 91 && code != 92 && code != 93) {
            CannotHoldGroup(code);
        }
    }
    if (entity.type == EntityKind::kPolyline) {
        entity.closed = (flags & 1) != 0;
        if (verticesGiven || isNew) {
            entity.points.clear();
            for (const Point3& vertex : vertices) {
                entity.points.push_back(Point2{vertex[0], vertex[1]});
            }
            entity.bulges = bulges;
        }
    } else if (entity.type == EntityKind::kPolyline3d) {
        entity.closed = (flags & 1) != 0;
        if (verticesGiven || isNew) {
            entity.vertices = vertices;
        }
    } else if (entity.type == EntityKind::kFace) {
        if (verticesGiven || isNew) {
            if (vertices.size() < 3 || vertices.size() > 4) {
                throw LispError("bad argument value: a 3DFACE needs 3 or 4 corners (10-13)");
            }
            if (vertices.size() == 3) {
                vertices.push_back(vertices[2]);
            }
            entity.corners = vertices;
        }
        entity.edgeVisible.assign(4, true);
        for (int i = 0; i < 4; ++i) {
            entity.edgeVisible[static_cast<std::size_t>(i)] = (flags & (1 << i)) == 0;
        }
    } else if (verticesGiven) {
        if (vertices.size() != entity.vertices.size()) {
            throw LispError("entmod can move a mesh's vertices but not add or remove any (" +
                            std::to_string(entity.vertices.size()) + " vertices, " +
                            std::to_string(vertices.size()) + " given)");
        }
        entity.vertices = vertices;
    }
}

}  // namespace

std::wstring DxfTypeName(const EntityInfo& entity) {
    switch (entity.type) {
        case EntityKind::kPolyline:
            return L"LWPOLYLINE";
        case EntityKind::kFace:
            return L"3DFACE";
        case EntityKind::kSubDMesh:
            return L"MESH";
        case EntityKind::kPoint:
            return L"POINT";
        case EntityKind::kText:
            return L"TEXT";
        case EntityKind::kLine:
            return L"LINE";
        case EntityKind::kPolyline3d:
        case EntityKind::kPolyFaceMesh:
            return L"POLYLINE";
    }
    return L"POLYLINE";
}

Value EntityGroups(const EntityInfo& entity, bool withGeometry) {
    std::vector<Value> groups{Group(-1, EntityName(entity.handle)),
                              Group(0, Value::string(DxfTypeName(entity))),
                              Group(5, Value::string(entity.handle))};
    if (entity.space == L"paper") {
        groups.push_back(Group(67, Value::integer(1)));
    }
    groups.push_back(Group(8, Value::string(entity.layer)));
    AddColour(groups, entity, !withGeometry);
    if (entity.type == EntityKind::kPoint) {
        if (withGeometry) {
            groups.push_back(Point3Group(10, entity.position));
        }
    } else if (entity.type == EntityKind::kLine) {
        if (withGeometry) {
            groups.push_back(Point3Group(10, entity.corners.at(0)));
            groups.push_back(Point3Group(11, entity.corners.at(1)));
        }
    } else if (entity.type == EntityKind::kText) {
        AddText(groups, entity, withGeometry);
    } else if (entity.type == EntityKind::kPolyline) {
        AddPolyline(groups, entity, withGeometry);
    } else if (entity.type == EntityKind::kFace) {
        AddFace(groups, entity, withGeometry);
    } else if (entity.type == EntityKind::kSubDMesh) {
        AddSubDMesh(groups, entity, withGeometry);
    } else {
        const bool polyface = entity.type == EntityKind::kPolyFaceMesh;
        groups.push_back(Group(66, Value::integer(1)));
        groups.push_back(Group(70, Value::integer(polyface ? 64 : 8 + (entity.closed ? 1 : 0))));
        if (polyface) {
            groups.push_back(
                Group(71, Value::integer(static_cast<std::int32_t>(entity.vertices.size()))));
            groups.push_back(
                Group(72, Value::integer(static_cast<std::int32_t>(entity.faces.size()))));
        }
        if (withGeometry) {
            AddVertices(groups, entity.vertices);
        }
    }
    return Value::list(std::move(groups));
}

int GroupCode(const Value& group) {
    if (!group.isList() || group.items().front().kind() != Value::Kind::kInteger) {
        BadArgumentValue("DXF group", group);
    }
    return group.items().front().asInteger();
}

Value GroupValue(const Value& group) {
    GroupCode(group);
    return Cdr(group);
}

void EntityFromGroups(const Value& groups, bool isNew, EntityInfo& entity) {
    const std::vector<Value>& items = ListArgument(groups);
    bool typed = !isNew;
    int flags = 0;
    for (const Value& group : items) {
        if (GroupCode(group) == 70) {
            flags = IntegerArgument(GroupValue(group));
        }
    }
    for (const Value& group : items) {
        if (GroupCode(group) != 0) {
            continue;
        }
        if (isNew) {
            SetTypeFromName(StringArgument(GroupValue(group)), flags, entity);
            typed = true;
        } else if (StringArgument(GroupValue(group)) != DxfTypeName(entity)) {
            throw LispError("entmod cannot change an entity's type");
        }
    }
    if (!typed) {
        throw LispError("bad argument value: entity list without (0 . type)");
    }
    std::vector<Value> ownGroups;
    for (const Value& group : items) {
        if (!ApplyCommonGroup(group, entity)) {
            ownGroups.push_back(group);
        }
    }
    ApplyTrueColour(items, entity);
    if (entity.type == EntityKind::kText) {
        ApplyTextGroups(ownGroups, isNew, entity);
    } else if (entity.type == EntityKind::kPoint) {
        ApplyPointGroups(ownGroups, entity);
    } else if (entity.type == EntityKind::kLine) {
        ApplyLineGroups(ownGroups, isNew, entity);
    } else {
        ApplyVertexGroups(ownGroups, flags, isNew, entity);
    }
}

}  // namespace kafcad
