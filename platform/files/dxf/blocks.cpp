// BLOCKS: the definitions of *Model_Space and *Paper_Space, empty as their entities are in the
// ENTITIES section. Reading skips every entity inside a block definition, counted by kind.
#include <string>

#include "platform/files/dxf/sections.h"

namespace kafhost {
namespace {

void writeBlock(DxfWriter& writer, const char* name, std::uint64_t begin, std::uint64_t end,
                std::uint64_t record, bool paperSpace) {
    DxfEntityHead head;
    head.handle = begin;
    head.owner = record;
    head.paperSpace = paperSpace;
    writeDxfEntityHead(writer, "BLOCK", head);
    writer.text(100, "AcDbBlockBegin");
    writer.text(2, name);
    writer.integer(70, 0);
    writer.point(10, 0.0, 0.0, 0.0);
    writer.text(3, name);
    writer.text(1, "");
    head.handle = end;
    writeDxfEntityHead(writer, "ENDBLK", head);
    writer.text(100, "AcDbBlockEnd");
}

}  // namespace

void writeDxfBlocks(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const DxfHandlePlan& handles = plan.handles;
    writer.text(0, "SECTION");
    writer.text(2, "BLOCKS");
    writeBlock(writer, "*Model_Space", handles.fixed(DxfFixed::kModelSpaceBlock),
               handles.fixed(DxfFixed::kModelSpaceBlockEnd),
               handles.fixed(DxfFixed::kModelSpaceRecord), false);
    writeBlock(writer, "*Paper_Space", handles.fixed(DxfFixed::kPaperSpaceBlock),
               handles.fixed(DxfFixed::kPaperSpaceBlockEnd),
               handles.fixed(DxfFixed::kPaperSpaceRecord), true);
    writer.text(0, "ENDSEC");
}

void readDxfBlocks(DxfTagReader& reader, DxfDrawingRead& drawing) {
    while (!reader.is(0, "ENDSEC")) {
        if (reader.code() != 0) {
            reader.fail(
                "expected an entity (group code 0) in the BLOCKS section, found group "
                "code " +
                std::to_string(reader.code()));
        }
        if (reader.is(0, "BLOCK")) {
            reader.skipToNextObject();
            ++drawing.blockCount;
        } else if (reader.is(0, "ENDBLK")) {
            reader.skipToNextObject();
        } else {
            ++drawing.skippedInBlocks[std::string(reader.text())];
            skipDxfEntity(reader);
        }
    }
}

}  // namespace kafhost
