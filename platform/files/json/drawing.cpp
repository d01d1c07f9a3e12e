#include "kafhost/drawing_json.h"

#include "platform/files/read_file_text.h"
#include "platform/files/replace_file.h"

#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "kafhost/host.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafhost {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// ---- Writing ----

// A number for the file; JSON has no infinities or NaN, so those cannot be saved.
double checkedFinite(double value, const std::string& where) {
    if (!std::isfinite(value)) {
        throw DrawingFileError(where + ": not a finite number");
    }
    return value;
}

template <std::size_t N>
OrderedJson pointsJson(const std::vector<std::array<double, N>>& points, const std::string& where) {
    OrderedJson list = OrderedJson::array();
    for (const auto& point : points) {
        OrderedJson coordinates = OrderedJson::array();
        for (const double c : point) {
            coordinates.push_back(checkedFinite(c, where));
        }
        list.push_back(std::move(coordinates));
    }
    return list;
}

OrderedJson trueColourJson(std::int32_t rgb) {
    return OrderedJson::array({(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF});
}

OrderedJson entityJson(const EntityInfo& entity) {
    const EntityKind type = entity.type;
    const std::string where = "entity " + wideToUtf8(entity.handle);
    OrderedJson out;
    out["handle"] = wideToUtf8(entity.handle);
    out["type"] = wideToUtf8(entityKindName(type));
    out["space"] = wideToUtf8(entity.space);
    out["layer"] = wideToUtf8(entity.layer);
    out["erased"] = entity.erased;
    if (entity.colorIndex != 256) {
        out["color"] = entity.colorIndex;
    }
    if (entity.trueColor >= 0) {
        out["trueColor"] = trueColourJson(entity.trueColor);
    }
    if (type == EntityKind::kSubDMesh || type == EntityKind::kPolyFaceMesh) {
        out["vertices"] = pointsJson(entity.vertices, where + " vertices");
        out["faces"] = entity.faces;
    }
    if (type == EntityKind::kSubDMesh) {
        OrderedJson colours = OrderedJson::array();
        for (const Rgb& rgb : entity.vertexColours) {
            colours.push_back(rgb);
        }
        out["vertexColors"] = std::move(colours);
        out["subDLevel"] = entity.subDLevel;
    } else if (type == EntityKind::kFace) {
        out["corners"] = pointsJson(entity.corners, where + " corners");
        bool allVisible = true;
        for (const bool visible : entity.edgeVisible) {
            allVisible = allVisible && visible;
        }
        if (!allVisible) {
            OrderedJson flags = OrderedJson::array();
            for (const bool visible : entity.edgeVisible) {
                flags.push_back(visible);
            }
            out["edgeVisible"] = std::move(flags);
        }
    } else if (type == EntityKind::kPolyline) {
        out["vertices"] = pointsJson(entity.points, where + " vertices");
        std::vector<double> bulges = entity.bulges;
        bulges.resize(entity.points.size(), 0.0);
        OrderedJson bulgeList = OrderedJson::array();
        for (const double bulge : bulges) {
            bulgeList.push_back(checkedFinite(bulge, where + " bulges"));
        }
        out["bulges"] = std::move(bulgeList);
        out["elevation"] = checkedFinite(entity.elevation, where + " elevation");
        out["closed"] = entity.closed;
    } else if (type == EntityKind::kPolyline3d) {
        out["vertices"] = pointsJson(entity.vertices, where + " vertices");
        out["closed"] = entity.closed;
    } else if (type == EntityKind::kPoint) {
        out["position"] = pointsJson(std::vector<Point3>{entity.position}, where + " position")[0];
    } else if (type == EntityKind::kLine) {
        const std::vector<OrderedJson> ends = pointsJson(entity.corners, where + " ends");
        out["start"] = ends.at(0);
        out["end"] = ends.at(1);
    } else if (type == EntityKind::kText) {
        out["position"] = pointsJson(std::vector<Point3>{entity.position}, where + " position")[0];
        out["alignmentPoint"] =
            pointsJson(std::vector<Point3>{entity.alignmentPoint}, where + " alignmentPoint")[0];
        out["text"] = wideToUtf8(entity.text);
        out["textStyle"] = wideToUtf8(entity.textStyle);
        out["height"] = checkedFinite(entity.height, where + " height");
        out["rotation"] = checkedFinite(entity.rotation, where + " rotation");
        out["horizontalMode"] = entity.horizontalMode;
        out["verticalMode"] = entity.verticalMode;
    }
    return out;
}

// A layer's style, where it is not the default (colour 7, Continuous, the default lineweight).
void addLayerStyle(const LayerInfo& info, OrderedJson& layer) {
    const LayerInfo defaults;
    if (info.colorIndex != defaults.colorIndex) {
        layer["color"] = info.colorIndex;
    }
    if (info.trueColor >= 0) {
        layer["trueColor"] = trueColourJson(info.trueColor);
    }
    if (info.linetype != defaults.linetype) {
        layer["linetype"] = wideToUtf8(info.linetype);
    }
    if (info.lineweight != defaults.lineweight) {
        layer["lineweight"] = info.lineweight;
    }
}

// ---- Reading ----

// Paths to values inside the file, for error messages: entities[3].faces[7][2].
std::string memberPath(const std::string& where, const char* key) {
    return where.empty() ? std::string(key) : where + "." + key;
}
std::string elementPath(const std::string& where, std::size_t index) {
    return where + "[" + std::to_string(index) + "]";
}

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw DrawingFileError(where.empty() ? what : where + ": " + what);
}

const Json& readArray(const Json& value, const std::string& where) {
    if (!value.is_array()) {
        fail(where, "expected a list");
    }
    return value;
}

double readNumber(const Json& value, const std::string& where) {
    if (!value.is_number()) {
        fail(where, "expected a number");
    }
    return value.get<double>();
}

long long readInteger(const Json& value, const std::string& where) {
    if (!value.is_number_integer()) {
        fail(where, "expected an integer");
    }
    return value.get<long long>();
}

bool readBoolean(const Json& value, const std::string& where) {
    if (!value.is_boolean()) {
        fail(where, "expected true or false");
    }
    return value.get<bool>();
}

std::wstring readText(const Json& value, const std::string& where) {
    if (!value.is_string()) {
        fail(where, "expected a string");
    }
    return utf8ToWide(value.get<std::string>());
}

template <std::size_t N>
std::array<double, N> readPoint(const Json& value, const std::string& where) {
    if (!value.is_array() || value.size() != N) {
        fail(where, "expected a list of " + std::to_string(N) + " numbers");
    }
    std::array<double, N> point{};
    for (std::size_t i = 0; i < N; ++i) {
        point[i] = readNumber(value[i], elementPath(where, i));
    }
    return point;
}

template <std::size_t N>
std::vector<std::array<double, N>> readPoints(const Json& value, const std::string& where) {
    std::vector<std::array<double, N>> points;
    for (std::size_t i = 0; i < readArray(value, where).size(); ++i) {
        points.push_back(readPoint<N>(value[i], elementPath(where, i)));
    }
    return points;
}

// The members of an object, each checked to be one of the allowed keys.
class ObjectReader {
public:
    ObjectReader(const Json& value, std::string where, std::set<std::string> allowed)
        : value_(value), where_(std::move(where)) {
        if (!value.is_object()) {
            fail(where_, "expected an object");
        }
        for (const auto& item : value.items()) {
            if (allowed.count(item.key()) == 0) {
                fail(where_, "unknown field \"" + item.key() + "\"");
            }
        }
    }
    bool has(const char* key) const { return value_.contains(key); }
    const Json& required(const char* key) const {
        if (!has(key)) {
            fail(where_, std::string("missing field \"") + key + "\"");
        }
        return value_.at(key);
    }
    const Json* optional(const char* key) const { return has(key) ? &value_.at(key) : nullptr; }
    std::string pathOf(const char* key) const { return memberPath(where_, key); }
    const std::string& where() const { return where_; }

private:
    const Json& value_;
    std::string where_;
};

std::wstring upperCase(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    return text;
}

long long readBoundedInteger(const ObjectReader& object, const char* field, long long least,
                             long long most) {
    const long long value = readInteger(object.required(field), object.pathOf(field));
    if (value < least || value > most) {
        fail(object.pathOf(field),
             "outside " + std::to_string(least) + " ... " + std::to_string(most));
    }
    return value;
}

std::int32_t readTrueColour(const Json& colour, const std::string& where) {
    if (!colour.is_array() || colour.size() != 3) {
        fail(where, "expected [red, green, blue]");
    }
    std::int32_t rgb = 0;
    for (std::size_t c = 0; c < 3; ++c) {
        const long long channel = readInteger(colour[c], elementPath(where, c));
        if (channel < 0 || channel > 255) {
            fail(elementPath(where, c), "colour channel outside 0 ... 255");
        }
        rgb = rgb * 256 + static_cast<std::int32_t>(channel);
    }
    return rgb;
}

void readLayerStyle(const ObjectReader& layer, LayerInfo& info) {
    if (layer.has("color")) {
        info.colorIndex = static_cast<int>(readBoundedInteger(layer, "color", 1, 255));
    }
    if (const Json* colour = layer.optional("trueColor")) {
        info.trueColor = readTrueColour(*colour, layer.pathOf("trueColor"));
    }
    if (const Json* linetype = layer.optional("linetype")) {
        info.linetype = readText(*linetype, layer.pathOf("linetype"));
        if (info.linetype.empty()) {
            fail(layer.pathOf("linetype"), "empty linetype name");
        }
    }
    if (layer.has("lineweight")) {
        info.lineweight = static_cast<int>(readBoundedInteger(layer, "lineweight", -3, 211));
    }
}

std::vector<LayerInfo> readLayers(const Json& value, const std::string& where) {
    std::vector<LayerInfo> layers;
    std::set<std::wstring> seen;
    for (std::size_t i = 0; i < readArray(value, where).size(); ++i) {
        const ObjectReader layer(
            value[i], elementPath(where, i),
            {"name", "hidden", "color", "trueColor", "linetype", "lineweight"});
        LayerInfo info;
        info.name = readText(layer.required("name"), layer.pathOf("name"));
        if (info.name.empty()) {
            fail(layer.pathOf("name"), "empty layer name");
        }
        // The host's names end at a NUL: such a layer could never be found by its name.
        if (info.name.find(L'\0') != std::wstring::npos) {
            fail(layer.pathOf("name"), "layer name with a NUL character");
        }
        if (!seen.insert(upperCase(info.name)).second) {
            fail(layer.pathOf("name"), "layer \"" + wideToUtf8(info.name) + "\" listed twice");
        }
        if (const Json* hidden = layer.optional("hidden")) {
            info.hidden = readBoolean(*hidden, layer.pathOf("hidden"));
        }
        readLayerStyle(layer, info);
        layers.push_back(std::move(info));
    }
    if (seen.count(L"0") == 0) {
        fail(where, "the drawing has no layer \"0\"");
    }
    return layers;
}

void readSubDMeshFaces(const ObjectReader& entity, EntityInfo& info) {
    const std::string where = entity.pathOf("faces");
    const Json& faces = readArray(entity.required("faces"), where);
    const long long vertexCount = static_cast<long long>(info.vertices.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const std::string faceWhere = elementPath(where, f);
        if (!faces[f].is_array() || faces[f].size() < 3) {
            fail(faceWhere, "expected a list of at least 3 vertex indices");
        }
        std::vector<int> face;
        for (std::size_t k = 0; k < faces[f].size(); ++k) {
            const long long index = readInteger(faces[f][k], elementPath(faceWhere, k));
            if (index < 0 || index >= vertexCount) {
                fail(elementPath(faceWhere, k), "vertex index " + std::to_string(index) +
                                                    " out of range (the mesh has " +
                                                    std::to_string(vertexCount) + " vertices)");
            }
            face.push_back(static_cast<int>(index));
        }
        info.faces.push_back(std::move(face));
    }
}

void readPolyFaceMeshFaces(const ObjectReader& entity, EntityInfo& info) {
    const std::string where = entity.pathOf("faces");
    const Json& faces = readArray(entity.required("faces"), where);
    const long long vertexCount = static_cast<long long>(info.vertices.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const std::string faceWhere = elementPath(where, f);
        if (!faces[f].is_array() || faces[f].size() != 4) {
            fail(faceWhere, "expected a list of 4 vertex numbers");
        }
        std::vector<int> record;
        for (std::size_t k = 0; k < 4; ++k) {
            const long long number = readInteger(faces[f][k], elementPath(faceWhere, k));
            if (number < -vertexCount || number > vertexCount || number < -32767 ||
                number > 32767) {
                fail(elementPath(faceWhere, k), "vertex number " + std::to_string(number) +
                                                    " out of range (the mesh has " +
                                                    std::to_string(vertexCount) + " vertices)");
            }
            record.push_back(static_cast<int>(number));
        }
        info.faces.push_back(std::move(record));
    }
}

void readVertexColours(const ObjectReader& entity, EntityInfo& info) {
    const Json* colours = entity.optional("vertexColors");
    if (colours == nullptr) {
        return;
    }
    const std::string where = entity.pathOf("vertexColors");
    readArray(*colours, where);
    if (!colours->empty() && colours->size() != info.vertices.size()) {
        fail(where, std::to_string(colours->size()) + " colours for " +
                        std::to_string(info.vertices.size()) + " vertices");
    }
    for (std::size_t i = 0; i < colours->size(); ++i) {
        const std::string colourWhere = elementPath(where, i);
        const Json& colour = (*colours)[i];
        if (!colour.is_array() || colour.size() != 3) {
            fail(colourWhere, "expected [red, green, blue]");
        }
        Rgb rgb{};
        for (std::size_t c = 0; c < 3; ++c) {
            const long long channel = readInteger(colour[c], elementPath(colourWhere, c));
            if (channel < 0 || channel > 255) {
                fail(elementPath(colourWhere, c), "colour channel outside 0 ... 255");
            }
            rgb[c] = static_cast<int>(channel);
        }
        info.vertexColours.push_back(rgb);
    }
}

Point3 readPoint3(const ObjectReader& entity, const char* field) {
    const std::string where = entity.pathOf(field);
    const Json& value = entity.required(field);
    if (!value.is_array() || value.size() != 3) {
        fail(where, "expected [x, y, z]");
    }
    return Point3{readNumber(value[0], elementPath(where, 0)),
                  readNumber(value[1], elementPath(where, 1)),
                  readNumber(value[2], elementPath(where, 2))};
}

int readTextMode(const ObjectReader& entity, const char* field, int largest) {
    const Json* mode = entity.optional(field);
    if (mode == nullptr) {
        return 0;
    }
    const long long value = readInteger(*mode, entity.pathOf(field));
    if (value < 0 || value > largest) {
        fail(entity.pathOf(field), "outside 0 ... " + std::to_string(largest));
    }
    return static_cast<int>(value);
}

void readTextFields(const ObjectReader& entity, EntityInfo& info) {
    info.position = readPoint3(entity, "position");
    info.alignmentPoint = entity.optional("alignmentPoint") != nullptr
                              ? readPoint3(entity, "alignmentPoint")
                              : info.position;
    info.text = readText(entity.required("text"), entity.pathOf("text"));
    if (info.text.find_first_of(L"\r\n") != std::wstring::npos) {
        fail(entity.pathOf("text"), "a text cannot hold a line break");
    }
    if (const Json* style = entity.optional("textStyle")) {
        info.textStyle = readText(*style, entity.pathOf("textStyle"));
    }
    info.height = readNumber(entity.required("height"), entity.pathOf("height"));
    if (info.height <= 0.0) {
        fail(entity.pathOf("height"), "expected a positive height");
    }
    if (const Json* rotation = entity.optional("rotation")) {
        info.rotation = readNumber(*rotation, entity.pathOf("rotation"));
    }
    info.horizontalMode = readTextMode(entity, "horizontalMode", 5);
    info.verticalMode = readTextMode(entity, "verticalMode", 3);
}

void readGeometry(const ObjectReader& entity, EntityInfo& info) {
    const EntityKind type = info.type;
    if (type == EntityKind::kSubDMesh || type == EntityKind::kPolyFaceMesh) {
        info.vertices = readPoints<3>(entity.required("vertices"), entity.pathOf("vertices"));
    }
    if (type == EntityKind::kSubDMesh) {
        readSubDMeshFaces(entity, info);
        readVertexColours(entity, info);
        if (const Json* level = entity.optional("subDLevel")) {
            const long long value = readInteger(*level, entity.pathOf("subDLevel"));
            if (value < 0 || value > 16) {
                fail(entity.pathOf("subDLevel"), "outside 0 ... 16");
            }
            info.subDLevel = static_cast<int>(value);
        }
    } else if (type == EntityKind::kPolyFaceMesh) {
        readPolyFaceMeshFaces(entity, info);
    } else if (type == EntityKind::kFace) {
        info.corners = readPoints<3>(entity.required("corners"), entity.pathOf("corners"));
        if (info.corners.size() != 4) {
            fail(entity.pathOf("corners"), "expected 4 corners");
        }
        if (const Json* flags = entity.optional("edgeVisible")) {
            const std::string where = entity.pathOf("edgeVisible");
            if (!flags->is_array() || flags->size() != 4) {
                fail(where, "expected 4 flags");
            }
            for (std::size_t i = 0; i < 4; ++i) {
                info.edgeVisible.push_back(readBoolean((*flags)[i], elementPath(where, i)));
            }
        }
    } else if (type == EntityKind::kPolyline) {
        info.points = readPoints<2>(entity.required("vertices"), entity.pathOf("vertices"));
        if (const Json* bulges = entity.optional("bulges")) {
            const std::string where = entity.pathOf("bulges");
            if (readArray(*bulges, where).size() != info.points.size()) {
                fail(where, "expected one bulge per vertex");
            }
            for (std::size_t i = 0; i < bulges->size(); ++i) {
                info.bulges.push_back(readNumber((*bulges)[i], elementPath(where, i)));
            }
        }
        if (const Json* elevation = entity.optional("elevation")) {
            info.elevation = readNumber(*elevation, entity.pathOf("elevation"));
        }
        if (const Json* closed = entity.optional("closed")) {
            info.closed = readBoolean(*closed, entity.pathOf("closed"));
        }
    } else if (type == EntityKind::kPolyline3d) {
        info.vertices = readPoints<3>(entity.required("vertices"), entity.pathOf("vertices"));
        if (const Json* closed = entity.optional("closed")) {
            info.closed = readBoolean(*closed, entity.pathOf("closed"));
        }
    } else if (type == EntityKind::kPoint) {
        info.position = readPoint3(entity, "position");
    } else if (type == EntityKind::kLine) {
        info.corners = {readPoint3(entity, "start"), readPoint3(entity, "end")};
    } else if (type == EntityKind::kText) {
        readTextFields(entity, info);
    }
}

// The fields an entity of the type may have.
std::set<std::string> fieldsOf(EntityKind type) {
    std::set<std::string> fields = {"handle", "type",  "space",    "layer",
                                    "erased", "color", "trueColor"};
    if (type == EntityKind::kSubDMesh) {
        fields.insert({"vertices", "faces", "vertexColors", "subDLevel"});
    }
    if (type == EntityKind::kPolyFaceMesh) {
        fields.insert({"vertices", "faces"});
    }
    if (type == EntityKind::kFace) {
        fields.insert({"corners", "edgeVisible"});
    }
    if (type == EntityKind::kPolyline) {
        fields.insert({"vertices", "bulges", "elevation", "closed"});
    }
    if (type == EntityKind::kPolyline3d) {
        fields.insert({"vertices", "closed"});
    }
    if (type == EntityKind::kPoint) {
        fields.insert("position");
    }
    if (type == EntityKind::kLine) {
        fields.insert({"start", "end"});
    }
    if (type == EntityKind::kText) {
        fields.insert({"position", "alignmentPoint", "text", "textStyle", "height", "rotation",
                       "horizontalMode", "verticalMode"});
    }
    return fields;
}

EntityInfo readEntity(const Json& value, const std::string& where,
                      const std::set<std::wstring>& layerNames, std::set<std::uint64_t>& handles) {
    if (!value.is_object()) {
        fail(where, "expected an object");
    }
    if (!value.contains("type")) {
        fail(where, "missing field \"type\"");
    }
    EntityInfo info;
    const std::wstring type = readText(value.at("type"), memberPath(where, "type"));
    if (!entityKindNamed(type, info.type)) {
        fail(memberPath(where, "type"), "unknown entity type \"" + wideToUtf8(type) + "\"");
    }
    const ObjectReader entity(value, where, fieldsOf(info.type));

    if (const Json* handle = entity.optional("handle")) {
        info.handle = readText(*handle, entity.pathOf("handle"));
        const std::uint64_t number = parseHandle(info.handle);
        if (number == 0) {
            fail(entity.pathOf("handle"), "not a hexadecimal handle");
        }
        if (!handles.insert(number).second) {
            fail(entity.pathOf("handle"), "handle " + wideToUtf8(info.handle) + " used twice");
        }
    }
    if (const Json* space = entity.optional("space")) {
        info.space = readText(*space, entity.pathOf("space"));
        if (info.space != L"model" && info.space != L"paper") {
            fail(entity.pathOf("space"), "expected \"model\" or \"paper\"");
        }
    }
    if (const Json* layer = entity.optional("layer")) {
        info.layer = readText(*layer, entity.pathOf("layer"));
        if (layerNames.count(upperCase(info.layer)) == 0) {
            fail(entity.pathOf("layer"),
                 "no layer \"" + wideToUtf8(info.layer) + "\" in the drawing");
        }
    }
    if (const Json* erased = entity.optional("erased")) {
        info.erased = readBoolean(*erased, entity.pathOf("erased"));
    }
    if (entity.has("color")) {
        info.colorIndex = static_cast<int>(readBoundedInteger(entity, "color", 0, 256));
    }
    if (const Json* colour = entity.optional("trueColor")) {
        info.trueColor = readTrueColour(*colour, entity.pathOf("trueColor"));
    }
    readGeometry(entity, info);
    return info;
}

// A syntax error's message without the library's prefix: "parse error at line 3, column 5: ...".
std::string syntaxErrorText(const Json::parse_error& error) {
    const std::string text = error.what();
    const std::size_t prefixEnd = text.find("] ");
    return prefixEnd == std::string::npos ? text : text.substr(prefixEnd + 2);
}

}  // namespace

std::string drawingToJson(const DrawingSnapshot& drawing) {
    std::ostringstream out;
    out << "{\n  \"layers\": [";
    for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
        OrderedJson layer;
        layer["name"] = wideToUtf8(drawing.layers[i].name);
        layer["hidden"] = drawing.layers[i].hidden;
        addLayerStyle(drawing.layers[i], layer);
        out << (i == 0 ? "\n" : ",\n") << "    " << layer.dump();
    }
    out << "\n  ],\n  \"entities\": [";
    for (std::size_t i = 0; i < drawing.entities.size(); ++i) {
        out << (i == 0 ? "\n" : ",\n") << "    " << entityJson(drawing.entities[i]).dump();
    }
    out << (drawing.entities.empty() ? "]" : "\n  ]");
    if (drawing.nextHandle != 0) {
        out << ",\n  \"nextHandle\": \"" << wideToUtf8(handleText(drawing.nextHandle)) << "\"";
    }
    out << "\n}\n";
    return out.str();
}

DrawingSnapshot drawingFromJson(const std::string& text) {
    Json root;
    try {
        root = Json::parse(text);
    } catch (const Json::parse_error& error) {
        throw DrawingFileError(syntaxErrorText(error));
    } catch (const Json::exception& error) {
        // Other parse failures, such as a number beyond the range of a double.
        throw DrawingFileError(std::string("not a valid JSON drawing: ") + error.what());
    }
    if (!root.is_object()) {
        throw DrawingFileError("expected a drawing object {\"layers\": ...}");
    }
    const ObjectReader drawing(root, "", {"layers", "entities", "nextHandle"});

    DrawingSnapshot snapshot;
    if (const Json* layers = drawing.optional("layers")) {
        snapshot.layers = readLayers(*layers, "layers");
    } else {
        snapshot.layers.push_back(LayerInfo{L"0", false});
    }
    std::set<std::wstring> layerNames;
    for (const LayerInfo& layer : snapshot.layers) {
        layerNames.insert(upperCase(layer.name));
    }

    if (const Json* entities = drawing.optional("entities")) {
        std::set<std::uint64_t> handles;
        for (std::size_t i = 0; i < readArray(*entities, "entities").size(); ++i) {
            snapshot.entities.push_back(
                readEntity((*entities)[i], elementPath("entities", i), layerNames, handles));
        }
    }
    if (const Json* next = drawing.optional("nextHandle")) {
        snapshot.nextHandle = parseHandle(readText(*next, "nextHandle"));
        if (snapshot.nextHandle == 0) {
            fail("nextHandle", "not a hexadecimal handle");
        }
    }
    return snapshot;
}

void saveDrawingFile(const DrawingSnapshot& drawing, const std::string& path) {
    std::string text;
    try {
        text = drawingToJson(drawing);
    } catch (const DrawingFileError& error) {
        throw DrawingFileError(path + ": " + error.what());
    }
    replaceFile(path, [&text](std::FILE* file) {
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
            throw DrawingFileError(std::string("cannot write: ") + std::strerror(errno));
        }
    });
}

DrawingSnapshot loadDrawingFile(const std::string& path) {
    const std::string text = readFileText(path);
    try {
        return drawingFromJson(text);
    } catch (const DrawingFileError& error) {
        throw DrawingFileError(path + ": " + error.what());
    }
}

}  // namespace kafhost
