#include "platform/files/dxf/vertex.h"

#include "platform/files/dxf/tag_reader.h"

namespace kafhost {

void writeDxfPolylineHeader(DxfWriter& writer, const DxfEntityHead& head, const char* subclass,
                            long long flags) {
    writeDxfEntityHead(writer, "POLYLINE", head);
    writer.text(100, subclass);
    writer.integer(66, 1);
    writer.point(10, 0.0, 0.0, 0.0);
    writer.integer(70, flags);
}

DxfEntityHead dxfSubEntityHead(const DxfEntityHead& owner, std::uint64_t handle) {
    DxfEntityHead head = owner;
    head.handle = handle;
    head.owner = owner.handle;
    head.extensionDictionary = 0;
    return head;
}

void readDxfVertexTags(DxfTagReader& reader, DxfEntityHead& head, Point3& point, long long& flags,
                       const std::function<void(int code)>& other) {
    point = Point3{0.0, 0.0, 0.0};
    flags = 0;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, head)) {
            continue;
        }
        const int code = reader.code();
        if (code == 10 || code == 20 || code == 30) {
            point[static_cast<std::size_t>(code / 10 - 1)] = reader.real();
        } else if (code == 70) {
            flags = reader.integer();
        } else {
            other(code);
        }
        reader.next();
    }
}

}  // namespace kafhost
