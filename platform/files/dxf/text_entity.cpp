// TEXT: the first alignment point (10, 20, 30: the start of the baseline), the height (40), the
// string (1), the rotation in degrees (50), the style (7), the horizontal (72) and vertical (73)
// alignment and, for a text not left-aligned on its baseline, the second alignment point (11, 21,
// 31) where it sits. Thickness, width factor, obliquing, mirroring and extrusion are not
// modelled: a text that has them is kept only as it was (foreign data).
#include "platform/files/dxf/text_entity.h"

#include <cmath>

#include "kafhost/drawing_json.h"
#include "kafhost/wide_to_utf8.h"

namespace kafhost {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDefaultHeight = 2.5;

bool isDefaultAlignment(const EntityInfo& text) {
    return text.horizontalMode == 0 && text.verticalMode == 0;
}

// A text the drawing cannot hold as it is (no positive height, an alignment AutoCAD does not
// know) is kept only as it was, drawn with the default height and alignment.
void keepOnlyAsItWas(DxfReadEntity& entity) {
    EntityInfo& text = entity.info;
    if (!std::isfinite(text.height) || text.height <= 0.0) {
        text.height = kDefaultHeight;
        entity.head.foreignData = true;
    }
    if (text.horizontalMode < 0 || text.horizontalMode > 5 || text.verticalMode < 0 ||
        text.verticalMode > 3) {
        text.horizontalMode = 0;
        text.verticalMode = 0;
        entity.head.foreignData = true;
    }
}

}  // namespace

void writeDxfText(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& text) {
    if (text.text.find_first_of(L"\r\n") != std::wstring::npos) {
        throw DrawingFileError("a text cannot hold a line break");
    }
    writeDxfEntityHead(writer, "TEXT", head);
    writer.text(100, "AcDbText");
    writer.point(10, text.position[0], text.position[1], text.position[2]);
    writer.real(40, text.height);
    writer.text(1, wideToUtf8(text.text));
    if (text.rotation != 0.0) {
        writer.real(50, text.rotation * 180.0 / kPi);
    }
    writer.text(7, wideToUtf8(text.textStyle));
    if (text.horizontalMode != 0) {
        writer.integer(72, text.horizontalMode);
    }
    if (!isDefaultAlignment(text)) {
        writer.point(11, text.alignmentPoint[0], text.alignmentPoint[1], text.alignmentPoint[2]);
    }
    writer.text(100, "AcDbText");
    if (text.verticalMode != 0) {
        writer.integer(73, text.verticalMode);
    }
}

void readDxfText(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& text = entity.info;
    text.type = EntityKind::kText;
    entity.textStyleValue = "Standard";
    bool alignmentGiven = false;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        const int code = reader.code();
        switch (code) {
            case 10:
            case 20:
            case 30:
                text.position[static_cast<std::size_t>(code / 10 - 1)] = reader.real();
                break;
            case 11:
            case 21:
            case 31:
                text.alignmentPoint[static_cast<std::size_t>(code / 10 - 1)] = reader.real();
                alignmentGiven = true;
                break;
            case 40:
                text.height = reader.real();
                break;
            case 1:
                entity.textValue = std::string(reader.text());
                break;
            case 50:
                text.rotation = reader.real() * kPi / 180.0;
                break;
            case 7:
                entity.textStyleValue = std::string(reader.text());
                break;
            case 72:
                text.horizontalMode = static_cast<int>(reader.integer());
                break;
            case 73:
                text.verticalMode = static_cast<int>(reader.integer());
                break;
            case 100:
                break;
            default:
                entity.head.foreignData = true;
                break;
        }
        reader.next();
    }
    keepOnlyAsItWas(entity);
    if (!alignmentGiven) {
        text.alignmentPoint = text.position;
    }
}

}  // namespace kafhost
