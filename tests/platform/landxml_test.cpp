// LandXML drawing files: meshes written as TIN surfaces read back as the same vertices and faces;
// files in the ways other programs write them are read; malformed files are refused with the
// line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kafhost/drawing_landxml.h"

namespace {

using kafhost::DrawingFileError;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::Point3;

EntityInfo Mesh(kafhost::EntityKind type, const std::wstring& layer, std::vector<Point3> vertices,
                std::vector<std::vector<int>> faces) {
    EntityInfo mesh;
    mesh.type = type;
    mesh.layer = layer;
    mesh.vertices = std::move(vertices);
    mesh.faces = std::move(faces);
    return mesh;
}

std::string ReadError(const std::string& text) {
    std::vector<std::string> notes;
    try {
        kafhost::drawingFromLandXml(text, notes);
    } catch (const DrawingFileError& error) {
        return error.what();
    }
    return "(read)";
}

std::string Document(const std::string& units, const std::string& body) {
    return "<?xml version=\"1.0\"?>\n"
           "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n" +
           units + body + "</LandXML>\n";
}

const std::string kMetric = "<Units><Metric linearUnit=\"meter\"/></Units>\n";

TEST(LandXml, MeshesReadBackWithTheSameVerticesAndFaces) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"GROUND", false}, {L"SPLIT", false}};
    const std::vector<Point3> square = {
        {0.1, 0.2, 430.25}, {350000.123456789, 0.2, -1e-7}, {0.1, 5800000.5, 1.0 / 3.0}, {7, 8, 9}};
    EntityInfo subd = Mesh(EntityKind::kSubDMesh, L"GROUND", square, {{0, 1, 2}, {1, 3, 2}});
    subd.vertexColours = {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}};
    drawing.entities.push_back(subd);
    // Polyface records: numbers from 1, a hidden edge negative, a triangle repeating its third.
    drawing.entities.push_back(
        Mesh(EntityKind::kPolyFaceMesh, L"SPLIT", square, {{1, -2, 3, 0}, {2, 4, 3, 3}}));
    drawing.entities.push_back(Mesh(EntityKind::kSubDMesh, L"SPLIT", square, {{3, 2, 1}}));
    EntityInfo erased = Mesh(EntityKind::kSubDMesh, L"SPLIT", square, {{0, 1, 2}});
    erased.erased = true;
    drawing.entities.push_back(erased);
    EntityInfo line;
    line.type = EntityKind::kPolyline;
    line.points = {{0, 0}, {1, 1}};
    drawing.entities.push_back(line);

    std::vector<std::string> notes;
    const std::string text = kafhost::drawingToLandXml(drawing, notes);
    EXPECT_NE(text.find("<P id=\"2\">0.2 350000.123456789 -1e-07</P>"), std::string::npos)
        << "northing easting elevation, shortest exact digits";
    EXPECT_NE(text.find("linearUnit=\"meter\""), std::string::npos);
    EXPECT_EQ(notes,
              (std::vector<std::string>{
                  "left out 1 AcDbPolyline (LandXML holds the meshes of model space only)",
                  "left out the vertex colours of 1 mesh(es) (LandXML surfaces have no "
                  "colours)",
                  "hidden polyface edges written as visible (LandXML faces have no edges)"}));

    notes.clear();
    const DrawingSnapshot read = kafhost::drawingFromLandXml(text, notes);
    EXPECT_TRUE(notes.empty());
    ASSERT_EQ(read.layers.size(), 4u);
    EXPECT_EQ(read.layers[1].name, L"GROUND");
    EXPECT_EQ(read.layers[2].name, L"SPLIT (1)");
    EXPECT_EQ(read.layers[3].name, L"SPLIT (2)");
    ASSERT_EQ(read.entities.size(), 3u);
    const std::vector<std::vector<std::vector<int>>> faces = {
        {{0, 1, 2}, {1, 3, 2}}, {{0, 1, 2}, {1, 3, 2}}, {{3, 2, 1}}};
    for (std::size_t i = 0; i < read.entities.size(); ++i) {
        EXPECT_EQ(read.entities[i].type, EntityKind::kSubDMesh);
        EXPECT_EQ(read.entities[i].vertices, square) << i;
        EXPECT_EQ(read.entities[i].faces, faces[i]) << i;
    }
}

// The coordinate system goes after the units as other programs look for it, its WKT escaped,
// and is read back as written; a file without one gives none.
TEST(LandXml, TheCoordinateSystemIsWrittenAfterTheUnitsAndReadBack) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"TIN", false}};
    drawing.entities.push_back(
        Mesh(EntityKind::kSubDMesh, L"TIN", {{0, 0, 1}, {10, 0, 2}, {0, 10, 3}}, {{0, 1, 2}}));
    const kafhost::LandXmlCoordinateSystem system{
        "ETRS89 / UTM zone 32N", "25832", "PROJCRS[\"ETRS89 / UTM zone 32N\",ID[\"EPSG\",25832]]"};
    std::vector<std::string> notes;
    const std::string text = kafhost::drawingToLandXml(drawing, notes, &system);
    const std::size_t element = text.find(
        "<CoordinateSystem name=\"ETRS89 / UTM zone 32N\" epsgCode=\"25832\" "
        "ogcWktCode=\"PROJCRS[&quot;ETRS89 / UTM zone 32N&quot;,ID[&quot;EPSG&quot;,25832]]\" />");
    ASSERT_NE(element, std::string::npos) << text;
    EXPECT_LT(text.find("</Units>"), element);
    EXPECT_LT(element, text.find("<Surfaces>"));

    notes.clear();
    kafhost::LandXmlCoordinateSystem read;
    EXPECT_EQ(kafhost::drawingFromLandXml(text, notes, &read).entities.size(), 1u);
    EXPECT_EQ(read.name, system.name);
    EXPECT_EQ(read.epsgCode, system.epsgCode);
    EXPECT_EQ(read.wkt, system.wkt);
    EXPECT_EQ(notes, std::vector<std::string>{"coordinate system EPSG:25832"});
    // A reader that keeps no system says that it is lost.
    notes.clear();
    kafhost::drawingFromLandXml(text, notes);
    EXPECT_EQ(notes, std::vector<std::string>{"coordinate system EPSG:25832 not kept"});

    const std::string without = kafhost::drawingToLandXml(drawing, notes);
    EXPECT_EQ(without.find("CoordinateSystem"), std::string::npos);
    kafhost::LandXmlCoordinateSystem none;
    kafhost::drawingFromLandXml(without, notes, &none);
    EXPECT_TRUE(none.epsgCode.empty() && none.wkt.empty() && none.name.empty());
}

TEST(LandXml, FilesOfOtherProgramsAreRead) {
    // Points shared through CgPoints, ids that are not 1..n, an invisible face, faces split over
    // two elements, a grid surface, a namespace prefix, and a surface name a layer cannot hold.
    const std::string text =
        "<?xml version=\"1.0\"?>\n"
        "<lx:LandXML xmlns:lx=\"http://www.landxml.org/schema/LandXML-1.2\">\n"
        "<lx:Units><lx:Imperial linearUnit=\"USSurveyFoot\"/></lx:Units>\n"
        "<lx:CgPoints><lx:CgPoint name=\"a\">0 0 10</lx:CgPoint>"
        "<lx:CgPoint name=\"b\">0 3937 20</lx:CgPoint></lx:CgPoints>\n"
        "<lx:Surfaces>\n"
        "<lx:Surface name=\"EG: existing\"><lx:Definition surfType=\"TIN\">\n"
        "<lx:Pnts><lx:P id=\"1001\" pntRef=\"a\"/><lx:P id=\"17\" pntRef=\"b\"/>\n"
        "<lx:P id=\"5\">3937 0 30</lx:P><lx:P id=\"6\">3937 3937 40</lx:P></lx:Pnts>\n"
        "<lx:Faces><lx:F>1001 17 5</lx:F><lx:F i=\"1\">17 6 5</lx:F></lx:Faces>\n"
        "<lx:Faces><lx:F n=\"1 0 0\">5 17 6</lx:F></lx:Faces>\n"
        "</lx:Definition></lx:Surface>\n"
        "<lx:Surface name=\"FG\"><lx:Definition surfType=\"TIN\"><lx:Pnts>"
        "<lx:P id=\"2\" pntRef=\"b\"/><lx:P id=\"1\" pntRef=\"a\"/><lx:P id=\"9\">1 1 1</lx:P>"
        "</lx:Pnts><lx:Faces><lx:F>1 2 9</lx:F></lx:Faces></lx:Definition></lx:Surface>\n"
        "<lx:Surface name=\"DEM\"><lx:Definition surfType=\"grid\"/></lx:Surface>\n"
        "</lx:Surfaces>\n</lx:LandXML>\n";
    std::vector<std::string> notes;
    const DrawingSnapshot read = kafhost::drawingFromLandXml(text, notes);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "coordinates converted from USSurveyFoot to metres (x 0.3048006096)",
                         "surface 'EG: existing' put on layer 'EG_ existing'",
                         "skipped surface 'DEM' (type grid, only TIN surfaces are read)"}));
    ASSERT_EQ(read.entities.size(), 2u);
    const double foot = 1200.0 / 3937.0;
    const EntityInfo& eg = read.entities[0];
    EXPECT_EQ(eg.layer, L"EG_ existing");
    EXPECT_EQ(eg.vertices, (std::vector<Point3>{{0, 0, 10 * foot},
                                                {1200, 0, 20 * foot},
                                                {0, 1200, 30 * foot},
                                                {1200, 1200, 40 * foot}}));
    EXPECT_EQ(eg.faces, (std::vector<std::vector<int>>{{0, 1, 2}, {2, 1, 3}}));
    const EntityInfo& fg = read.entities[1];
    EXPECT_EQ(fg.layer, L"FG");
    EXPECT_EQ(fg.vertices[0], eg.vertices[1]);
    EXPECT_EQ(fg.faces, (std::vector<std::vector<int>>{{1, 0, 2}}));
}

TEST(LandXml, MetricUnitsOtherThanTheMetreAreConverted) {
    const std::string text = Document(
        "<Units><Metric linearUnit=\"millimeter\"/></Units>\n",
        "<Surfaces><Surface name=\"S\"><Definition surfType=\"TIN\"><Pnts><P id=\"1\">0 0 0</P>"
        "<P id=\"2\">0 1000 0</P><P id=\"3\">2000 0 500</P></Pnts><Faces><F>1 2 3</F></Faces>"
        "</Definition></Surface></Surfaces>\n");
    std::vector<std::string> notes;
    const DrawingSnapshot read = kafhost::drawingFromLandXml(text, notes);
    ASSERT_EQ(read.entities.size(), 1u);
    EXPECT_EQ(read.entities[0].vertices, (std::vector<Point3>{{0, 0, 0}, {1, 0, 0}, {0, 2, 0.5}}));
    EXPECT_EQ(
        notes,
        (std::vector<std::string>{"coordinates converted from millimeter to metres (x 0.001)"}));
}

TEST(LandXml, MalformedFilesAreRefusedWithTheLine) {
    // A metric file with one TIN surface "S" holding body, which starts on line 6.
    const auto surface = [](const std::string& body) {
        return Document(kMetric, "<Surfaces>\n<Surface name=\"S\"><Definition surfType=\"TIN\">\n" +
                                     body + "</Definition></Surface></Surfaces>\n");
    };
    EXPECT_EQ(ReadError(Document(kMetric, "<Surfaces>\n</Surface>\n")),
              "line 5: Start-end tags mismatch");
    EXPECT_EQ(ReadError("<?xml version=\"1.0\"?>\n<DXF/>\n"),
              "line 2: not a LandXML file (the root element is <DXF>)");
    EXPECT_EQ(ReadError(Document("<Units>\n<Imperial linearUnit=\"furlong\"/></Units>\n", "")),
              "line 4: unknown linear unit 'furlong'");
    EXPECT_EQ(ReadError(surface("<Pnts><P id=\"1\">1 2 3</P>\n<P id=\"2\">1 2</P></Pnts>\n")),
              "line 7: surface 'S': a point needs three numbers (northing easting elevation), "
              "not '1 2'");
    EXPECT_EQ(ReadError(surface("<Pnts><P id=\"1\">1 2 3</P>\n<P id=\"1\">1 2 4</P></Pnts>\n")),
              "line 7: surface 'S': point id 1 is given twice");
    const std::string point = "<Pnts><P id=\"1\">1 2 3</P></Pnts>\n";
    EXPECT_EQ(ReadError(surface(point + "<Faces>\n<F>1 1 7</F></Faces>\n")),
              "line 8: surface 'S': a face names point 7, which the surface lacks");
    EXPECT_EQ(ReadError(surface(point + "<Faces>\n<F>1 1 1 1</F></Faces>\n")),
              "line 8: surface 'S': a face needs 3 point ids, not 4");
    // A point that the conversion to metres takes beyond the largest number: no drawing that
    // could not be saved again.
    const std::string kilometres = "<Units><Metric linearUnit=\"kilometer\"/></Units>\n";
    EXPECT_EQ(ReadError(Document(kilometres,
                                 "<Surfaces><Surface name=\"S\"><Definition surfType=\"TIN\">\n"
                                 "<Pnts><P id=\"1\">1 2 3</P>\n<P id=\"2\">0 1e308 0</P></Pnts>"
                                 "</Definition></Surface></Surfaces>\n")),
              "line 6: surface 'S': a point's coordinates '0 1e308 0' are too large to convert "
              "to metres");
}

TEST(LandXml, MeshesLandXmlCannotHoldAreRefused) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}};
    EntityInfo quad = Mesh(EntityKind::kSubDMesh, L"0",
                           {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
    quad.handle = L"2A";
    drawing.entities.push_back(quad);
    std::vector<std::string> notes;
    try {
        kafhost::drawingToLandXml(drawing, notes);
        ADD_FAILURE() << "a quad was written";
    } catch (const DrawingFileError& error) {
        EXPECT_STREQ(error.what(),
                     "mesh 2A: a face has 4 corners; LandXML TIN surfaces hold triangles only");
    }
}

}  // namespace
