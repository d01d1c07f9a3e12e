// Writes the model-space meshes of a drawing as the TIN surfaces of a LandXML 1.2 file.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <sstream>

#include <pugixml.hpp>

#include "kafhost/drawing_landxml.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/replace_file.h"

namespace kafhost {
namespace {

bool isMesh(const EntityInfo& entity) {
    return entity.type == EntityKind::kSubDMesh || entity.type == EntityKind::kPolyFaceMesh;
}

bool isWritten(const EntityInfo& entity) {
    return isMesh(entity) && entity.space == L"model" && !entity.erased;
}

std::string meshName(const EntityInfo& mesh) {
    return "mesh " + wideToUtf8(mesh.handle);
}

void appendNumber(std::string& text, double value, const EntityInfo& mesh) {
    if (!std::isfinite(value)) {
        throw DrawingFileError(meshName(mesh) + ": a vertex has a coordinate that is not finite");
    }
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

// The face's three vertex indices (from 0) within the mesh.
std::array<int, 3> triangleOf(const EntityInfo& mesh, const std::vector<int>& face,
                              bool& hiddenEdge) {
    std::vector<int> corners;
    for (const int number : face) {
        if (mesh.type == EntityKind::kPolyFaceMesh) {
            if (number == 0) {
                continue;
            }
            hiddenEdge = hiddenEdge || number < 0;
            corners.push_back(std::abs(number) - 1);
        } else {
            corners.push_back(number);
        }
    }
    // A polyface triangle may repeat its third vertex in the fourth place.
    if (corners.size() == 4 && corners[3] == corners[2]) {
        corners.pop_back();
    }
    if (corners.size() != 3) {
        throw DrawingFileError(meshName(mesh) + ": a face has " + std::to_string(corners.size()) +
                               " corners; LandXML TIN surfaces hold triangles only");
    }
    for (const int index : corners) {
        if (index < 0 || index >= static_cast<int>(mesh.vertices.size())) {
            throw DrawingFileError(meshName(mesh) + ": a face names a vertex the mesh lacks");
        }
    }
    return {corners[0], corners[1], corners[2]};
}

void writeSurface(pugi::xml_node surfaces, const EntityInfo& mesh, const std::string& name,
                  bool& hiddenEdge) {
    pugi::xml_node surface = surfaces.append_child("Surface");
    surface.append_attribute("name") = name.c_str();
    pugi::xml_node definition = surface.append_child("Definition");
    definition.append_attribute("surfType") = "TIN";
    pugi::xml_node points = definition.append_child("Pnts");
    std::string text;
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const Point3& vertex = mesh.vertices[i];
        text.clear();
        appendNumber(text, vertex[1], mesh);
        text += ' ';
        appendNumber(text, vertex[0], mesh);
        text += ' ';
        appendNumber(text, vertex[2], mesh);
        pugi::xml_node point = points.append_child("P");
        point.append_attribute("id") = static_cast<unsigned long long>(i + 1);
        point.text().set(text.c_str());
    }
    pugi::xml_node faces = definition.append_child("Faces");
    for (const std::vector<int>& face : mesh.faces) {
        const std::array<int, 3> corners = triangleOf(mesh, face, hiddenEdge);
        text = std::to_string(corners[0] + 1) + ' ' + std::to_string(corners[1] + 1) + ' ' +
               std::to_string(corners[2] + 1);
        faces.append_child("F").text().set(text.c_str());
    }
}

// "<layer>" for a layer's only mesh, "<layer> (k)" for the k-th of several.
std::vector<std::string> surfaceNames(const std::vector<const EntityInfo*>& meshes) {
    std::map<std::wstring, int> perLayer;
    for (const EntityInfo* mesh : meshes) {
        ++perLayer[mesh->layer];
    }
    std::map<std::wstring, int> seen;
    std::vector<std::string> names;
    for (const EntityInfo* mesh : meshes) {
        std::string name = wideToUtf8(mesh->layer);
        if (perLayer[mesh->layer] > 1) {
            name += " (" + std::to_string(++seen[mesh->layer]) + ")";
        }
        names.push_back(name);
    }
    return names;
}

void addRootAttributes(pugi::xml_node root) {
    root.append_attribute("xmlns") = "http://www.landxml.org/schema/LandXML-1.2";
    root.append_attribute("version") = "1.2";
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char date[16];
    char time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
    std::strftime(time, sizeof time, "%H:%M:%S", &utc);
    root.append_attribute("date") = date;
    root.append_attribute("time") = time;
}

void addUnits(pugi::xml_node root) {
    pugi::xml_node metric = root.append_child("Units").append_child("Metric");
    metric.append_attribute("areaUnit") = "squareMeter";
    metric.append_attribute("linearUnit") = "meter";
    metric.append_attribute("volumeUnit") = "cubicMeter";
    metric.append_attribute("temperatureUnit") = "celsius";
    metric.append_attribute("pressureUnit") = "milliBars";
}

void addCoordinateSystem(pugi::xml_node root, const LandXmlCoordinateSystem* system) {
    if (system == nullptr) {
        return;
    }
    pugi::xml_node element = root.append_child("CoordinateSystem");
    element.append_attribute("name") = system->name.c_str();
    if (!system->epsgCode.empty()) {
        element.append_attribute("epsgCode") = system->epsgCode.c_str();
    }
    element.append_attribute("ogcWktCode") = system->wkt.c_str();
}

// One note per kind of entity left out, and one for the meshes' colours and hidden edges.
void noteLeftOut(const DrawingSnapshot& drawing, bool hiddenEdge, std::vector<std::string>& notes) {
    std::map<std::string, int> leftOut;
    int coloured = 0;
    for (const EntityInfo& entity : drawing.entities) {
        if (entity.erased) {
            continue;
        }
        if (!isWritten(entity)) {
            ++leftOut[wideToUtf8(entityKindName(entity.type)) +
                      (entity.space == L"paper" ? " in paper space" : "")];
        } else if (!entity.vertexColours.empty()) {
            ++coloured;
        }
    }
    for (const auto& [kind, count] : leftOut) {
        notes.push_back("left out " + std::to_string(count) + " " + kind +
                        " (LandXML holds the meshes of model space only)");
    }
    if (coloured > 0) {
        notes.push_back("left out the vertex colours of " + std::to_string(coloured) +
                        " mesh(es) (LandXML surfaces have no colours)");
    }
    if (hiddenEdge) {
        notes.push_back("hidden polyface edges written as visible (LandXML faces have no edges)");
    }
}

}  // namespace

std::string drawingToLandXml(const DrawingSnapshot& drawing, std::vector<std::string>& notes,
                             const LandXmlCoordinateSystem* system) {
    std::vector<const EntityInfo*> meshes;
    for (const EntityInfo& entity : drawing.entities) {
        if (isWritten(entity)) {
            meshes.push_back(&entity);
        }
    }
    const std::vector<std::string> names = surfaceNames(meshes);
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("LandXML");
    addRootAttributes(root);
    addUnits(root);
    addCoordinateSystem(root, system);
    pugi::xml_node surfaces = root.append_child("Surfaces");
    bool hiddenEdge = false;
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        writeSurface(surfaces, *meshes[i], names[i], hiddenEdge);
    }
    noteLeftOut(drawing, hiddenEdge, notes);
    std::ostringstream text;
    document.save(text, " ", pugi::format_default, pugi::encoding_utf8);
    return text.str();
}

void saveLandXmlDrawingFile(const DrawingSnapshot& drawing, const std::string& path,
                            std::vector<std::string>& notes,
                            const LandXmlCoordinateSystem* system) {
    // The whole text is made first, so a drawing LandXML cannot hold leaves the file untouched.
    const std::string text = drawingToLandXml(drawing, notes, system);
    replaceFile(path, [&text](std::FILE* file) {
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
            throw DrawingFileError(std::string("cannot write: ") + std::strerror(errno));
        }
    });
}

}  // namespace kafhost
