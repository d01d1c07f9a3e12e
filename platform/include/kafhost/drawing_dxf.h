// Drawing files in DXF: a drawing snapshot as text DXF of AutoCAD 2010 (AC1024, the first release
// with the MESH entity), and reading such files back. A drawing read from DXF is written back
// into its own file (below); what follows describes drawings made otherwise.
//
// What is written:
//  HEADER    $ACADVER, $DWGCODEPAGE, $INSBASE, $EXTMIN/$EXTMAX (model-space extents), $HANDSEED,
//            $INSUNITS 0 (the drawing carries no unit).
//  CLASSES   LAYOUT and MESH.
//  TABLES    VPORT (*Active, showing the model-space extents), LTYPE (ByBlock, ByLayer,
//            Continuous), LAYER (every layer; a hidden layer is written off, with colour -7),
//            STYLE (Standard), VIEW, UCS, APPID (ACAD), DIMSTYLE (Standard), BLOCK_RECORD
//            (*Model_Space, *Paper_Space).
//  BLOCKS    the empty definitions of *Model_Space and *Paper_Space.
//  ENTITIES  model space, then paper space (code 67 1, owner the *Paper_Space record); erased
//            entities are left out (DXF has no erased state). Each entity keeps its handle
//            (code 5), its layer (8), its colour (62 and 420, unless by layer) and its owner (330:
//            the block record of its space):
//              AcDbFace          3DFACE, invisible edges in the flags (70)
//              AcDbPolyFaceMesh  POLYLINE with flag 64, one VERTEX per vertex (flags 192), one
//                                VERTEX per face record (flags 128, vertex numbers in 71-74, 0s
//                                left out), then SEQEND
//              AcDbSubDMesh      MESH: version 2, subdivision level (91), vertices (92, 10),
//                                face list (93, 90: count then indices), no edges or creases
//              AcDbPolyline      LWPOLYLINE: closed flag (70), elevation (38), bulges (42)
//  OBJECTS   the named-object dictionary with ACAD_GROUP and ACAD_LAYOUT (layouts "Model" and
//            "Layout1"), and the vertex colours of meshes (below).
//
// Vertex colours: DXF defines no per-vertex colours for MESH, so a mesh with colours gets an
// extension dictionary (102 {ACAD_XDICTIONARY) holding the XRECORD "KAF_VERTEX_COLORS": 90 the
// vertex count, then one 420 true colour (0x00RRGGBB) per vertex in vertex order.
//
// Handles: the tables, blocks and dictionaries take the lowest handles no entity uses (the block
// records get 2 and 3, as in the stand-in host's drawings); layers, polyface sub-entities (vertex
// and face records, SEQEND) and colour records take handles above every entity's; $HANDSEED lies
// above all. A snapshot's nextHandle is not written: reading gives nextHandle = $HANDSEED, and a
// file read back and written again is the same file byte for byte.
//
// Reading takes the same entities (also from other writers), keeps their handles (an entity
// without one gets one above every handle of the file), and takes hidden layers as those that
// are off (negative colour) or frozen (flag 1). Entities on a layer missing from the LAYER table
// add that layer (visible), with a note. The snapshot carries the file itself (dxfOrigin, see
// platform/files/dxf/origin.h): saving it writes the file again with the drawing's changes, so
// other entities, blocks, tables, objects, header variables and the details of the drawing's own
// entities that it does not model (colours, edges, creases, widths) are kept. The release is kept.
// Handles above FFFFFFFF00000000 are refused.
//
// drawingToDxf(drawing): the file text. Throws DrawingFileError for what DXF cannot hold, naming
//   the entity where there is one: a number that is not finite, a layer name that is empty or
//   holds a line break or one of < > / \ " : ; ? * | = `, a layer listed twice, an entity on a
//   layer the drawing lacks, an entity handle used twice, a face naming a missing vertex.
// drawingFromDxf(text, notes): the snapshot the text describes; notes receive what was skipped.
//   Throws DrawingFileError "line N: ..." for text that is not such a drawing.
// saveDxfDrawingFile(drawing, path): writes through a temporary file in the same folder that then
//   replaces path, so a save that fails leaves an earlier file intact. Throws DrawingFileError.
// loadDxfDrawingFile(path, notes): reads and parses the file. Throws DrawingFileError (the path
//   first).
#pragma once

#include <string>
#include <vector>

#include "kafhost/drawing_json.h"
#include "kafhost/drawing_snapshot.h"

namespace kafhost {

std::string drawingToDxf(const DrawingSnapshot& drawing);
// The name of a linetype kafcad writes into DXF files (Continuous, DASHED, HIDDEN, CENTER, DOT,
// DASHDOT, PHANTOM), matched regardless of case; empty for another name.
std::wstring dxfLinetypeName(const std::wstring& name);
// What of the DXF file the drawing was read from a JSON drawing file cannot hold, in words
// ("12 entities kafcad does not model, block definitions"); empty when nothing.
std::string dxfDataJsonCannotKeep(const DrawingSnapshot& drawing);
DrawingSnapshot drawingFromDxf(const std::string& text, std::vector<std::string>& notes);
void saveDxfDrawingFile(const DrawingSnapshot& drawing, const std::string& path);
DrawingSnapshot loadDxfDrawingFile(const std::string& path, std::vector<std::string>& notes);

}  // namespace kafhost
