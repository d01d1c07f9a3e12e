// 3DFACE: the corners (10-13) and the invisible-edge flags (70: 1, 2, 4, 8 for edges 1 to 4).
#include "platform/files/dxf/3dface.h"

#include "kafhost/drawing_json.h"

namespace kafhost {

void writeDxf3DFace(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& face) {
    if (face.corners.size() != 3 && face.corners.size() != 4) {
        throw DrawingFileError("a 3D face needs 3 or 4 corners");
    }
    writeDxfEntityHead(writer, "3DFACE", head);
    writer.text(100, "AcDbFace");
    for (std::size_t i = 0; i < 4; ++i) {
        const Point3& corner = face.corners.at(std::min(i, face.corners.size() - 1));
        writer.point(10 + static_cast<int>(i), corner[0], corner[1], corner[2]);
    }
    int invisibleEdges = 0;
    for (std::size_t i = 0; i < face.edgeVisible.size() && i < 4; ++i) {
        if (!face.edgeVisible[i]) {
            invisibleEdges |= 1 << i;
        }
    }
    writer.integer(70, invisibleEdges);
}

void readDxf3DFace(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& face = entity.info;
    face.type = EntityKind::kFace;
    face.corners.assign(4, Point3{0.0, 0.0, 0.0});
    bool fourthGiven = false;
    int invisibleEdges = 0;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        const int code = reader.code();
        if (code >= 10 && code <= 33 && code % 10 <= 3) {
            const int corner = code % 10;
            face.corners[static_cast<std::size_t>(corner)]
                        [static_cast<std::size_t>(code / 10 - 1)] = reader.real();
            fourthGiven = fourthGiven || corner == 3;
        } else if (code == 70) {
            invisibleEdges = static_cast<int>(reader.integer());
        }
        reader.next();
    }
    if (!fourthGiven) {
        face.corners[3] = face.corners[2];
    }
    for (int i = 0; i < 4; ++i) {
        face.edgeVisible.push_back((invisibleEdges & (1 << i)) == 0);
    }
}

}  // namespace kafhost
