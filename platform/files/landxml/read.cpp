// Reads the TIN surfaces of a LandXML file as subdivision meshes, one layer per surface.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <unordered_map>

#include <pugixml.hpp>

#include "kafhost/drawing_landxml.h"
#include "kafhost/utf8_to_wide.h"
#include "platform/files/read_file_text.h"

namespace kafhost {
namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    // The line (from 1) of a byte offset into the text.
    std::size_t lineAt(std::ptrdiff_t offset) const {
        const std::size_t end =
            std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)), text_.size());
        return 1 + static_cast<std::size_t>(std::count(text_.begin(), text_.begin() + end, '\n'));
    }

    [[noreturn]] void fail(pugi::xml_node node, const std::string& what) const {
        throw DrawingFileError("line " + std::to_string(lineAt(node.offset_debug())) + ": " + what);
    }

private:
    const std::string& text_;
};

// The element's name without a namespace prefix.
std::string localName(pugi::xml_node node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon != nullptr ? colon + 1 : name;
}

std::vector<pugi::xml_node> childrenNamed(pugi::xml_node parent, const char* name) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && localName(child) == name) {
            found.push_back(child);
        }
    }
    return found;
}

pugi::xml_node childNamed(pugi::xml_node parent, const char* name) {
    const std::vector<pugi::xml_node> found = childrenNamed(parent, name);
    return found.empty() ? pugi::xml_node() : found.front();
}

std::vector<std::string> tokensOf(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

bool parseNumber(const std::string& token, double& value) {
    const char* begin = token.data();
    const char* end = begin + token.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

struct Unit {
    const char* name;
    double metres;
};

constexpr Unit kLinearUnits[] = {
    {"meter", 1.0},        {"kilometer", 1000.0}, {"centimeter", 0.01},
    {"millimeter", 0.001}, {"foot", 0.3048},      {"USSurveyFoot", 1200.0 / 3937.0},
    {"inch", 0.0254},
};

// Metres per unit of the file's coordinates; notes a unit other than the metre.
double metresPerUnit(const Reader& reader, pugi::xml_node root, std::vector<std::string>& notes) {
    const pugi::xml_node units = childNamed(root, "Units");
    pugi::xml_node system = childNamed(units, "Metric");
    if (!system) {
        system = childNamed(units, "Imperial");
    }
    if (!system) {
        notes.push_back("no units given; coordinates taken as metres");
        return 1.0;
    }
    const std::string unit = system.attribute("linearUnit").as_string();
    for (const Unit& known : kLinearUnits) {
        if (unit == known.name) {
            if (known.metres != 1.0) {
                std::ostringstream note;
                note.precision(10);
                note << "coordinates converted from " << unit << " to metres (x " << known.metres
                     << ")";
                notes.push_back(note.str());
            }
            return known.metres;
        }
    }
    reader.fail(system, "unknown linear unit '" + unit + "'");
}

// Characters a layer name cannot hold become "_".
std::wstring layerNameFor(const std::string& surfaceName, std::size_t number,
                          std::vector<std::string>& notes) {
    if (surfaceName.empty()) {
        return L"Surface " + std::to_wstring(number);
    }
    std::string name = surfaceName;
    for (char& c : name) {
        if (std::strchr("<>/\\\":;?*|=`\r\n", c) != nullptr) {
            c = '_';
        }
    }
    if (name != surfaceName) {
        notes.push_back("surface '" + surfaceName + "' put on layer '" + name + "'");
    }
    return utf8ToWide(name);
}

class SurfaceReader {
public:
    SurfaceReader(const Reader& reader, double scale,
                  const std::unordered_map<std::string, pugi::xml_node>& cgPoints)
        : reader_(reader), scale_(scale), cgPoints_(cgPoints) {}

    // The surface's points and faces as a subdivision mesh (layer not set).
    EntityInfo read(pugi::xml_node definition, const std::string& name) {
        name_ = name;
        EntityInfo mesh;
        mesh.type = EntityKind::kSubDMesh;
        std::unordered_map<std::string, int> indexOfId;
        for (pugi::xml_node points : childrenNamed(definition, "Pnts")) {
            for (pugi::xml_node point : childrenNamed(points, "P")) {
                const std::string id = point.attribute("id").as_string();
                if (id.empty()) {
                    fail(point, "a point has no id");
                }
                if (!indexOfId.emplace(id, static_cast<int>(mesh.vertices.size())).second) {
                    fail(point, "point id " + id + " is given twice");
                }
                mesh.vertices.push_back(coordinatesOf(point));
            }
        }
        for (pugi::xml_node faces : childrenNamed(definition, "Faces")) {
            for (pugi::xml_node face : childrenNamed(faces, "F")) {
                if (std::strcmp(face.attribute("i").as_string(), "1") == 0) {
                    continue;
                }
                const std::vector<std::string> ids = tokensOf(face.child_value());
                if (ids.size() != 3) {
                    fail(face, "a face needs 3 point ids, not " + std::to_string(ids.size()));
                }
                std::vector<int> corners;
                for (const std::string& id : ids) {
                    const auto found = indexOfId.find(id);
                    if (found == indexOfId.end()) {
                        fail(face, "a face names point " + id + ", which the surface lacks");
                    }
                    corners.push_back(found->second);
                }
                mesh.faces.push_back(corners);
            }
        }
        return mesh;
    }

private:
    [[noreturn]] void fail(pugi::xml_node node, const std::string& what) const {
        reader_.fail(node, "surface '" + name_ + "': " + what);
    }

    // "northing easting elevation" in the file; x, y, z in metres.
    Point3 coordinatesOf(pugi::xml_node point) const {
        pugi::xml_node source = point;
        const pugi::xml_attribute reference = point.attribute("pntRef");
        if (reference) {
            const auto found = cgPoints_.find(reference.as_string());
            if (found == cgPoints_.end()) {
                fail(point, "no CgPoint named '" + std::string(reference.as_string()) + "'");
            }
            source = found->second;
        }
        const std::vector<std::string> tokens = tokensOf(source.child_value());
        double values[3];
        if (tokens.size() != 3 || !parseNumber(tokens[0], values[0]) ||
            !parseNumber(tokens[1], values[1]) || !parseNumber(tokens[2], values[2])) {
            fail(source, "a point needs three numbers (northing easting elevation), not '" +
                             std::string(source.child_value()) + "'");
        }
        const Point3 metres{values[1] * scale_, values[0] * scale_, values[2] * scale_};
        if (!std::isfinite(metres[0]) || !std::isfinite(metres[1]) || !std::isfinite(metres[2])) {
            fail(source, "a point's coordinates '" + std::string(source.child_value()) +
                             "' are too large to convert to metres");
        }
        return metres;
    }

    const Reader& reader_;
    double scale_;
    const std::unordered_map<std::string, pugi::xml_node>& cgPoints_;
    std::string name_;
};

std::unordered_map<std::string, pugi::xml_node> cgPointsOf(pugi::xml_node root) {
    std::unordered_map<std::string, pugi::xml_node> named;
    for (pugi::xml_node group : childrenNamed(root, "CgPoints")) {
        for (pugi::xml_node point : childrenNamed(group, "CgPoint")) {
            named.emplace(point.attribute("name").as_string(), point);
        }
    }
    return named;
}

void addLayer(DrawingSnapshot& drawing, const std::wstring& name) {
    for (const LayerInfo& layer : drawing.layers) {
        if (layer.name == name) {
            return;
        }
    }
    drawing.layers.push_back(LayerInfo{name, false});
}

// The file's coordinate system, when it names one.
void readCoordinateSystem(pugi::xml_node root, LandXmlCoordinateSystem* system,
                          std::vector<std::string>& notes) {
    const pugi::xml_node element = childNamed(root, "CoordinateSystem");
    if (!element) {
        return;
    }
    LandXmlCoordinateSystem found;
    found.name = element.attribute("name").as_string();
    found.epsgCode = element.attribute("epsgCode").as_string();
    found.wkt = element.attribute("ogcWktCode").as_string();
    const std::string label = found.epsgCode.empty() ? found.name : "EPSG:" + found.epsgCode;
    if (system == nullptr) {
        notes.push_back("coordinate system " + label + " not kept");
        return;
    }
    *system = found;
    notes.push_back("coordinate system " + label);
}

}  // namespace

DrawingSnapshot drawingFromLandXml(const std::string& text, std::vector<std::string>& notes,
                                   LandXmlCoordinateSystem* system) {
    const Reader reader(text);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        throw DrawingFileError("line " + std::to_string(reader.lineAt(parsed.offset)) + ": " +
                               parsed.description());
    }
    const pugi::xml_node root = document.document_element();
    if (localName(root) != "LandXML") {
        reader.fail(root,
                    "not a LandXML file (the root element is <" + std::string(root.name()) + ">)");
    }
    const double scale = metresPerUnit(reader, root, notes);
    readCoordinateSystem(root, system, notes);
    const std::unordered_map<std::string, pugi::xml_node> cgPoints = cgPointsOf(root);
    SurfaceReader surfaceReader(reader, scale, cgPoints);
    DrawingSnapshot drawing;
    drawing.layers.push_back(LayerInfo{L"0", false});
    std::size_t number = 0;
    for (pugi::xml_node surfaces : childrenNamed(root, "Surfaces")) {
        for (pugi::xml_node surface : childrenNamed(surfaces, "Surface")) {
            ++number;
            const std::string name = surface.attribute("name").as_string();
            const pugi::xml_node definition = childNamed(surface, "Definition");
            const std::string type = definition.attribute("surfType").as_string();
            if (!definition || type != "TIN") {
                notes.push_back("skipped surface '" + name + "' (" +
                                (definition ? "type " + type : std::string("no definition")) +
                                ", only TIN surfaces are read)");
                continue;
            }
            EntityInfo mesh = surfaceReader.read(definition, name);
            if (mesh.faces.empty()) {
                notes.push_back("skipped surface '" + name + "' (no faces)");
                continue;
            }
            mesh.layer = layerNameFor(name, number, notes);
            addLayer(drawing, mesh.layer);
            drawing.entities.push_back(std::move(mesh));
        }
    }
    return drawing;
}

DrawingSnapshot loadLandXmlDrawingFile(const std::string& path, std::vector<std::string>& notes,
                                       LandXmlCoordinateSystem* system) {
    const std::string text = readFileText(path);
    try {
        return drawingFromLandXml(text, notes, system);
    } catch (const DrawingFileError& error) {
        throw DrawingFileError(path + ": " + error.what());
    }
}

}  // namespace kafhost
