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
        entity.type = L"AcDbPolyline";
    } else if (type == "3DFACE") {
        entity.type = L"AcDbFace";
    } else if (type == "POLYLINE" && (flags & 8) != 0) {
        entity.type = L"AcDb3dPolyline";
    } else if (type == "POLYLINE") {
        CannotHold("a POLYLINE other than a 3D polyline (70 . 8) from entmake");
    } else {
        CannotHold(type +
                   " entities (it holds LWPOLYLINE, 3D POLYLINE, 3DFACE, and the meshes "
                   "the module makes)");
    }
}

bool IsVertexCode(int code) {
    return code >= 10 && code <= 13;
}

}  // namespace

std::wstring DxfTypeName(const EntityInfo& entity) {
    if (entity.type == L"AcDbPolyline") {
        return L"LWPOLYLINE";
    }
    if (entity.type == L"AcDbFace") {
        return L"3DFACE";
    }
    if (entity.type == L"AcDbSubDMesh") {
        return L"MESH";
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
    if (entity.type == L"AcDbPolyline") {
        AddPolyline(groups, entity, withGeometry);
    } else if (entity.type == L"AcDbFace") {
        AddFace(groups, entity, withGeometry);
    } else if (entity.type == L"AcDbSubDMesh") {
        AddSubDMesh(groups, entity, withGeometry);
    } else {
        const bool polyface = entity.type == L"AcDbPolyFaceMesh";
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

void EntityFromGroups(const Value& groups, EntityInfo& entity) {
    const std::vector<Value>& items = ListArgument(groups);
    const bool isNew = entity.type.empty();
    int flags = 0;
    for (const Value& group : items) {
        if (GroupCode(group) == 70) {
            flags = IntegerArgument(GroupValue(group));
        }
    }
    std::vector<Point3> vertices;
    std::vector<double> bulges;
    bool verticesGiven = false;
    for (const Value& group : items) {
        const int code = GroupCode(group);
        const Value value = GroupValue(group);
        if (code == 0) {
            if (isNew) {
                SetTypeFromName(StringArgument(value), flags, entity);
            } else if (StringArgument(value) != DxfTypeName(entity)) {
                throw LispError("entmod cannot change an entity's type");
            }
        } else if (code == 8) {
            entity.layer = StringArgument(value);
        } else if (code == 67) {
            entity.space = IntegerArgument(value) == 1 ? L"paper" : L"model";
        } else if (IsVertexCode(code)) {
            verticesGiven = true;
            vertices.push_back(PointOf(group));
            bulges.push_back(0.0);
        } else if (code == 42) {
            if (!bulges.empty()) {
                bulges.back() = Real(value);
            }
        } else if (code == 38) {
            entity.elevation = Real(value);
        } else if (code == 62 || code == 420) {
            CannotHold("entity colours (group " + std::to_string(code) + ")");
        } else if (code != -1 && code != 5 && code != 66 && code != 70 && code != 71 &&
                   code != 72 && code != 90 && code != 91 && code != 92 && code != 93 &&
                   code != 100 && code != 410) {
            CannotHold("group " + std::to_string(code) + " of an entity");
        }
    }
    if (entity.type.empty()) {
        throw LispError("bad argument value: entity list without (0 . type)");
    }
    if (entity.type == L"AcDbPolyline") {
        entity.closed = (flags & 1) != 0;
        if (verticesGiven || isNew) {
            entity.points.clear();
            for (const Point3& vertex : vertices) {
                entity.points.push_back(Point2{vertex[0], vertex[1]});
            }
            entity.bulges = bulges;
        }
    } else if (entity.type == L"AcDb3dPolyline") {
        entity.closed = (flags & 1) != 0;
        if (verticesGiven || isNew) {
            entity.vertices = vertices;
        }
    } else if (entity.type == L"AcDbFace") {
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

}  // namespace kafcad
