#include "platform/files/dxf/entity.h"

namespace kafhost {
namespace {

// Entities that belong to the entity before them (polyline vertices, block attributes).
bool isSubEntity(const DxfTagReader& reader) {
    return reader.is(0, "VERTEX") || reader.is(0, "ATTRIB") || reader.is(0, "SEQEND");
}

constexpr int kByLayer = 256;

// A colour index 0 ... 256 (62) or a true colour (420) into the head; false for other values,
// which are kept as they are among the common tags.
bool readColour(const DxfTagReader& reader, DxfEntityHead& head) {
    const long long value = reader.integer();
    if (reader.code() == 62) {
        if (value < 0 || value > kByLayer) {
            return false;
        }
        head.colorIndex = static_cast<int>(value);
        return true;
    }
    if (value < 0 || value > 0xFFFFFF) {
        return false;
    }
    head.trueColor = static_cast<std::int32_t>(value);
    return true;
}

}  // namespace

bool isDxfNewerPropertyCode(int code) {
    switch (code) {
        case 284:  // shadows
        case 347:  // material
        case 348:  // visual style
        case 370:  // lineweight
        case 380:  // plot style type
        case 390:  // plot style
        case 420:  // true colour
        case 430:  // colour name
        case 440:  // transparency
            return true;
        default:
            return false;
    }
}

bool isDxfCommonPropertyCode(int code) {
    // Linetype, linetype scale, visibility and colour, which R12 has too.
    return code == 6 || code == 48 || code == 60 || code == 62 || isDxfNewerPropertyCode(code);
}

void writeDxfEntityHead(DxfWriter& writer, std::string_view kind, const DxfEntityHead& head) {
    writer.text(0, kind);
    writer.handle(5, head.handle);
    if (head.extensionDictionary != 0) {
        writer.text(102, "{ACAD_XDICTIONARY");
        writer.handle(360, head.extensionDictionary);
        writer.text(102, "}");
    }
    writer.handle(330, head.owner);
    writer.text(100, "AcDbEntity");
    if (head.paperSpace) {
        writer.integer(67, 1);
    }
    writer.text(8, head.layer);
    if (head.colorIndex != kByLayer) {
        writer.integer(62, head.colorIndex);
    }
    if (head.trueColor >= 0) {
        writer.integer(420, head.trueColor);
    }
    writer.raw(head.commonTags);
}

bool readDxfEntityHeadTag(DxfTagReader& reader, DxfEntityHead& head) {
    switch (reader.code()) {
        case 5:
            head.handle = reader.handle();
            break;
        case 330:
            head.owner = reader.handle();
            break;
        case 67:
            head.paperSpace = reader.integer() != 0;
            break;
        case 8:
            head.layer = std::string(reader.text());
            break;
        case 62:
        case 420:
            if (!readColour(reader, head)) {
                head.commonTags += reader.raw();
            }
            break;
        case 102: {
            if (reader.text().empty() || reader.text().front() != '{') {
                break;
            }
            const bool extensionDictionary = reader.is(102, "{ACAD_XDICTIONARY");
            head.foreignData = head.foreignData || !extensionDictionary;
            reader.next();
            while (!reader.is(102, "}")) {
                if (reader.code() == 0) {
                    reader.fail("a 102 group is not closed with \"}\"");
                }
                if (extensionDictionary && reader.code() == 360) {
                    head.extensionDictionary = reader.handle();
                }
                reader.next();
            }
            break;
        }
        default:
            if (isDxfCommonPropertyCode(reader.code())) {
                head.commonTags += reader.raw();
            } else if (reader.code() >= 1000) {
                head.foreignData = true;
            } else {
                return false;
            }
            break;
    }
    reader.next();
    return true;
}

void skipDxfEntity(DxfTagReader& reader) {
    reader.skipToNextObject();
    while (reader.hasTag() && isSubEntity(reader)) {
        reader.skipToNextObject();
    }
}

}  // namespace kafhost
