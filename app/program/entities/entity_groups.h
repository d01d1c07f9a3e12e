// Entities as AutoLISP's DXF group lists, and back.
//
// EntityGroups(entity, withGeometry): what entget gives for the entity: (-1 . <Entity name>)
//   (0 . type) (5 . handle) (67 . 1) for paper space, (8 . layer), (62 . colour index) when the
//   entity has a colour of its own (not BYLAYER), (420 . 0xRRGGBB) for a true colour, then by type:
//   POINT: (10 x y z);
//   LINE: (10 start point) (11 end point);
//   TEXT: (10 position) (40 . height) (1 . string) (50 . rotation) (7 . style)
//     (72 . horizontal alignment) (11 alignment point) (73 . vertical alignment);
//   LWPOLYLINE (a polyline): (90 . vertices) (70 . 1 closed / 0) (38 . elevation), then for each
//     vertex (10 x y) and (42 . bulge);
//   POLYLINE with (70 . 8) (+1 closed), a 3D polyline: (66 . 1) and (10 x y z) for each vertex;
//   POLYLINE with (70 . 64), a polyface mesh: (66 . 1) (71 . vertices) (72 . face records) and
//     (10 x y z) for each vertex;
//   3DFACE: (10 ...) (11 ...) (12 ...) (13 ...) (70 . invisible edges: 1, 2, 4, 8);
//   MESH (a subdivision mesh): (71 . 2) (72 . 0) (91 . level) (92 . vertices), (10 x y z) for
//     each vertex, (93 . face list size) and the face list as (90 . n) (90 . index) ... groups.
//   Without geometry (for selection filters) the point, vertex, corner and face groups are left
//   out and BYLAYER is given as (62 . 256).
// DxfTypeName(entity): the entity's DXF type: LWPOLYLINE, POLYLINE, 3DFACE, MESH, POINT, LINE or
//   TEXT.
// GroupCode(group), GroupValue(group): the code and value of one (code . value) group; a group
//   that is not one fails with "bad argument value: DXF group X".
// EntityFromGroups(groups, isNew, entity): entmake and entmod: the groups applied to entity (a
//   new one for entmake, with type from group 0). Layer (8), colour (62 index 0-256, 420 true
//   colour), space (67), and by type: POINT position (10); LINE start (10) and end (11); TEXT
//   position (10), alignment point (11), height (40), string (1), rotation (50), style (7) and
//   alignment (72, 73); LWPOLYLINE vertices (10), bulges (42, after their vertex), elevation (38)
//   and closed flag (70); 3D POLYLINE vertices (10) and closed flag (70); 3DFACE corners (10-13)
//   and invisible edges (70); for polyface meshes and MESH entities vertices (10) when as many as
//   they had. Throws LispError for what kafcad's drawing cannot hold (entity types it does not
//   model, such as CIRCLE, and groups it does not keep), naming the group.
#pragma once

#include <string>

#include "app/lisp/value.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

Value EntityGroups(const kafhost::EntityInfo& entity, bool withGeometry = true);
std::wstring DxfTypeName(const kafhost::EntityInfo& entity);
int GroupCode(const Value& group);
Value GroupValue(const Value& group);
void EntityFromGroups(const Value& groups, bool isNew, kafhost::EntityInfo& entity);

}  // namespace kafcad
