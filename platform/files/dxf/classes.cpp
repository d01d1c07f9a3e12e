// CLASSES: the classes of the file's objects and entities that are not built into DXF itself,
// LAYOUT and MESH.
#include "platform/files/dxf/sections.h"

namespace kafhost {

void writeDxfClass(DxfWriter& writer, const char* name, const char* className, bool isEntity,
                   std::size_t instances) {
    writer.text(0, "CLASS");
    writer.text(1, name);
    writer.text(2, className);
    writer.text(3, "ObjectDBX Classes");
    writer.integer(90, 0);
    writer.integer(91, static_cast<long long>(instances));
    writer.integer(280, 0);
    writer.integer(281, isEntity ? 1 : 0);
}

void writeDxfClasses(DxfWriter& writer, const DxfDrawingPlan& plan) {
    std::size_t meshes = 0;
    for (const EntityInfo* entity : plan.entities) {
        meshes += entity->type == EntityKind::kSubDMesh ? 1 : 0;
    }
    writer.text(0, "SECTION");
    writer.text(2, "CLASSES");
    writeDxfClass(writer, "LAYOUT", "AcDbLayout", false, 2);
    writeDxfClass(writer, "MESH", "AcDbSubDMesh", true, meshes);
    writer.text(0, "ENDSEC");
}

}  // namespace kafhost
