// Drawing files in LandXML 1.2: the meshes of a drawing as TIN surfaces, and TIN surfaces read
// back as subdivision meshes. The drawing's unit is the metre.
//
// Writing: <LandXML> (namespace of LandXML 1.2) with <Units><Metric linearUnit="meter" .../>
// and <Surfaces>, one <Surface> per subdivision or polyface mesh of model space (erased ones left
// out), in drawing order. The surface is named after the mesh's layer; when a layer holds several
// meshes they are named "<layer> (1)", "<layer> (2)", ... in drawing order. Each surface holds
// <Definition surfType="TIN"> with <Pnts> (one <P id="k">northing easting elevation</P> per mesh
// vertex, k from 1 in vertex order, so x and y appear swapped) and <Faces> (one <F>a b c</F> per
// face, naming the point ids). Numbers have the fewest digits that read back to the same double.
//
// LandXmlCoordinateSystem: the coordinate system a file is in, written as
//   <CoordinateSystem name="..." epsgCode="..." ogcWktCode="..."/> after <Units> (epsgCode left
//   out when empty). Read back from a file's <CoordinateSystem> (its epsgCode, name and
//   ogcWktCode), with a note naming it.
//
// drawingToLandXml(drawing, notes, system): the file text, with the coordinate system when one
//   is given. Notes receive what LandXML does not hold
//   (entities other than model-space meshes, per kind with a count; vertex colours; hidden
//   polyface edges, written as visible). Throws DrawingFileError, naming the mesh, for a face
//   that is not a triangle, a face naming a missing vertex, or a number that is not finite.
//
// drawingFromLandXml(text, notes, system): a drawing holding layer "0" and one subdivision mesh per
// TIN
//   surface of the file, on a layer named after the surface (characters a layer name cannot hold,
//   < > / \ " : ; ? * | = ` and line breaks, become "_"; a surface without a name is named
//   "Surface N"). Read as other programs write it:
//    - <P> ids are any distinct names; <P pntRef="name"/> takes the point of the <CgPoint> of that
//      name in <CgPoints> (points shared by several surfaces);
//    - faces with i="1" (invisible) are skipped; several <Faces> elements are joined;
//    - <Metric>/<Imperial> linearUnit meter, kilometer, centimeter, millimeter, foot,
//      USSurveyFoot, inch: coordinates are converted to metres, with a note saying so.
//   Surfaces of other types (grid) and TIN surfaces without faces are skipped with a note.
//   Throws DrawingFileError "line N: ..." for text that is not well-formed XML, not LandXML, or
//   holds a TIN surface that cannot be read (a point or face that is not three numbers, a face
//   naming a missing point, a point id given twice, an unknown linear unit).
// saveLandXmlDrawingFile(drawing, path, notes, system): writes through a temporary file that then
//   replaces path. Throws DrawingFileError.
// loadLandXmlDrawingFile(path, notes, system): reads and parses the file. Throws DrawingFileError
// (the
//   path first).
#pragma once

#include <string>
#include <vector>

#include "kafhost/drawing_json.h"
#include "kafhost/drawing_snapshot.h"

namespace kafhost {

struct LandXmlCoordinateSystem {
    std::string name;
    std::string epsgCode;
    std::string wkt;
};

std::string drawingToLandXml(const DrawingSnapshot& drawing, std::vector<std::string>& notes,
                             const LandXmlCoordinateSystem* system = nullptr);
DrawingSnapshot drawingFromLandXml(const std::string& text, std::vector<std::string>& notes,
                                   LandXmlCoordinateSystem* system = nullptr);
void saveLandXmlDrawingFile(const DrawingSnapshot& drawing, const std::string& path,
                            std::vector<std::string>& notes,
                            const LandXmlCoordinateSystem* system = nullptr);
DrawingSnapshot loadLandXmlDrawingFile(const std::string& path, std::vector<std::string>& notes,
                                       LandXmlCoordinateSystem* system = nullptr);

}  // namespace kafhost
