#include "kafhost/drawing_json.h"

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

const char* const kSubDMesh = "AcDbSubDMesh";
const char* const kPolyFaceMesh = "AcDbPolyFaceMesh";
const char* const kFace = "AcDbFace";
const char* const kPolyline = "AcDbPolyline";

// ---- Writing ----

// A number for the file; JSON has no infinities or NaN, so those cannot be saved.
double Finite(double value, const std::string& where) {
    if (!std::isfinite(value))
        throw DrawingFileError(where + ": not a finite number");
    return value;
}

template <std::size_t N>
OrderedJson PointsJson(const std::vector<std::array<double, N>>& points, const std::string& where) {
    OrderedJson list = OrderedJson::array();
    for (const auto& point : points) {
        OrderedJson coordinates = OrderedJson::array();
        for (const double c : point)
            coordinates.push_back(Finite(c, where));
        list.push_back(std::move(coordinates));
    }
    return list;
}

OrderedJson EntityJson(const EntityInfo& entity) {
    const std::string type = wideToUtf8(entity.type);
    const std::string where = "entity " + wideToUtf8(entity.handle);
    OrderedJson out;
    out["handle"] = wideToUtf8(entity.handle);
    out["type"] = type;
    out["space"] = wideToUtf8(entity.space);
    out["layer"] = wideToUtf8(entity.layer);
    out["erased"] = entity.erased;
    if (type == kSubDMesh || type == kPolyFaceMesh) {
        out["vertices"] = PointsJson(entity.vertices, where + " vertices");
        out["faces"] = entity.faces;
    }
    if (type == kSubDMesh) {
        OrderedJson colors = OrderedJson::array();
        for (const Rgb& rgb : entity.vertexColors)
            colors.push_back(rgb);
        out["vertexColors"] = std::move(colors);
        out["subDLevel"] = entity.subDLevel;
    } else if (type == kFace) {
        out["corners"] = PointsJson(entity.corners, where + " corners");
        bool allVisible = true;
        for (const bool visible : entity.edgeVisible)
            allVisible = allVisible && visible;
        if (!allVisible) {
            OrderedJson flags = OrderedJson::array();
            for (const bool visible : entity.edgeVisible)
                flags.push_back(visible);
            out["edgeVisible"] = std::move(flags);
        }
    } else if (type == kPolyline) {
        out["vertices"] = PointsJson(entity.points, where + " vertices");
        std::vector<double> bulges = entity.bulges;
        bulges.resize(entity.points.size(), 0.0);
        OrderedJson bulgeList = OrderedJson::array();
        for (const double bulge : bulges)
            bulgeList.push_back(Finite(bulge, where + " bulges"));
        out["bulges"] = std::move(bulgeList);
        out["elevation"] = Finite(entity.elevation, where + " elevation");
        out["closed"] = entity.closed;
    }
    return out;
}

// ---- Reading ----

// Paths to values inside the file, for error messages: entities[3].faces[7][2].
std::string Member(const std::string& where, const char* key) {
    return where.empty() ? std::string(key) : where + "." + key;
}
std::string Element(const std::string& where, std::size_t index) {
    return where + "[" + std::to_string(index) + "]";
}

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw DrawingFileError(where.empty() ? what : where + ": " + what);
}

const Json& Array(const Json& value, const std::string& where) {
    if (!value.is_array())
        Fail(where, "expected a list");
    return value;
}

double Number(const Json& value, const std::string& where) {
    if (!value.is_number())
        Fail(where, "expected a number");
    return value.get<double>();
}

long long Integer(const Json& value, const std::string& where) {
    if (!value.is_number_integer())
        Fail(where, "expected an integer");
    return value.get<long long>();
}

bool Boolean(const Json& value, const std::string& where) {
    if (!value.is_boolean())
        Fail(where, "expected true or false");
    return value.get<bool>();
}

std::wstring Text(const Json& value, const std::string& where) {
    if (!value.is_string())
        Fail(where, "expected a string");
    return utf8ToWide(value.get<std::string>());
}

template <std::size_t N>
std::array<double, N> Point(const Json& value, const std::string& where) {
    if (!value.is_array() || value.size() != N)
        Fail(where, "expected a list of " + std::to_string(N) + " numbers");
    std::array<double, N> point{};
    for (std::size_t i = 0; i < N; ++i)
        point[i] = Number(value[i], Element(where, i));
    return point;
}

template <std::size_t N>
std::vector<std::array<double, N>> Points(const Json& value, const std::string& where) {
    std::vector<std::array<double, N>> points;
    for (std::size_t i = 0; i < Array(value, where).size(); ++i)
        points.push_back(Point<N>(value[i], Element(where, i)));
    return points;
}

// The members of an object, each checked to be one of the allowed keys.
class ObjectReader {
public:
    ObjectReader(const Json& value, std::string where, std::set<std::string> allowed)
        : value_(value), where_(std::move(where)) {
        if (!value.is_object())
            Fail(where_, "expected an object");
        for (const auto& item : value.items()) {
            if (allowed.count(item.key()) == 0)
                Fail(where_, "unknown field \"" + item.key() + "\"");
        }
    }
    bool Has(const char* key) const { return value_.contains(key); }
    const Json& Required(const char* key) const {
        if (!Has(key))
            Fail(where_, std::string("missing field \"") + key + "\"");
        return value_.at(key);
    }
    const Json* Optional(const char* key) const { return Has(key) ? &value_.at(key) : nullptr; }
    std::string Where(const char* key) const { return Member(where_, key); }
    const std::string& where() const { return where_; }

private:
    const Json& value_;
    std::string where_;
};

std::wstring UpperCase(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

std::vector<LayerInfo> ReadLayers(const Json& value, const std::string& where) {
    std::vector<LayerInfo> layers;
    std::set<std::wstring> seen;
    for (std::size_t i = 0; i < Array(value, where).size(); ++i) {
        const ObjectReader layer(value[i], Element(where, i), {"name", "hidden"});
        LayerInfo info;
        info.name = Text(layer.Required("name"), layer.Where("name"));
        if (info.name.empty())
            Fail(layer.Where("name"), "empty layer name");
        if (!seen.insert(UpperCase(info.name)).second)
            Fail(layer.Where("name"), "layer \"" + wideToUtf8(info.name) + "\" listed twice");
        if (const Json* hidden = layer.Optional("hidden"))
            info.hidden = Boolean(*hidden, layer.Where("hidden"));
        layers.push_back(std::move(info));
    }
    if (seen.count(L"0") == 0)
        Fail(where, "the drawing has no layer \"0\"");
    return layers;
}

void ReadSubDMeshFaces(const ObjectReader& entity, EntityInfo& info) {
    const std::string where = entity.Where("faces");
    const Json& faces = Array(entity.Required("faces"), where);
    const long long vertexCount = static_cast<long long>(info.vertices.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const std::string faceWhere = Element(where, f);
        if (!faces[f].is_array() || faces[f].size() < 3)
            Fail(faceWhere, "expected a list of at least 3 vertex indices");
        std::vector<int> face;
        for (std::size_t k = 0; k < faces[f].size(); ++k) {
            const long long index = Integer(faces[f][k], Element(faceWhere, k));
            if (index < 0 || index >= vertexCount)
                Fail(Element(faceWhere, k), "vertex index " + std::to_string(index) +
                                                " out of range (the mesh has " +
                                                std::to_string(vertexCount) + " vertices)");
            face.push_back(static_cast<int>(index));
        }
        info.faces.push_back(std::move(face));
    }
}

void ReadPolyFaceMeshFaces(const ObjectReader& entity, EntityInfo& info) {
    const std::string where = entity.Where("faces");
    const Json& faces = Array(entity.Required("faces"), where);
    const long long vertexCount = static_cast<long long>(info.vertices.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const std::string faceWhere = Element(where, f);
        if (!faces[f].is_array() || faces[f].size() != 4)
            Fail(faceWhere, "expected a list of 4 vertex numbers");
        std::vector<int> record;
        for (std::size_t k = 0; k < 4; ++k) {
            const long long number = Integer(faces[f][k], Element(faceWhere, k));
            if (number < -vertexCount || number > vertexCount || number < -32767 || number > 32767)
                Fail(Element(faceWhere, k), "vertex number " + std::to_string(number) +
                                                " out of range (the mesh has " +
                                                std::to_string(vertexCount) + " vertices)");
            record.push_back(static_cast<int>(number));
        }
        info.faces.push_back(std::move(record));
    }
}

void ReadVertexColors(const ObjectReader& entity, EntityInfo& info) {
    const Json* colors = entity.Optional("vertexColors");
    if (colors == nullptr)
        return;
    const std::string where = entity.Where("vertexColors");
    Array(*colors, where);
    if (!colors->empty() && colors->size() != info.vertices.size())
        Fail(where, std::to_string(colors->size()) + " colours for " +
                        std::to_string(info.vertices.size()) + " vertices");
    for (std::size_t i = 0; i < colors->size(); ++i) {
        const std::string colorWhere = Element(where, i);
        const Json& color = (*colors)[i];
        if (!color.is_array() || color.size() != 3)
            Fail(colorWhere, "expected [red, green, blue]");
        Rgb rgb{};
        for (std::size_t c = 0; c < 3; ++c) {
            const long long channel = Integer(color[c], Element(colorWhere, c));
            if (channel < 0 || channel > 255)
                Fail(Element(colorWhere, c), "colour channel outside 0 ... 255");
            rgb[c] = static_cast<int>(channel);
        }
        info.vertexColors.push_back(rgb);
    }
}

void ReadGeometry(const ObjectReader& entity, EntityInfo& info) {
    const std::string type = wideToUtf8(info.type);
    if (type == kSubDMesh || type == kPolyFaceMesh) {
        info.vertices = Points<3>(entity.Required("vertices"), entity.Where("vertices"));
    }
    if (type == kSubDMesh) {
        ReadSubDMeshFaces(entity, info);
        ReadVertexColors(entity, info);
        if (const Json* level = entity.Optional("subDLevel")) {
            const long long value = Integer(*level, entity.Where("subDLevel"));
            if (value < 0 || value > 16)
                Fail(entity.Where("subDLevel"), "outside 0 ... 16");
            info.subDLevel = static_cast<int>(value);
        }
    } else if (type == kPolyFaceMesh) {
        ReadPolyFaceMeshFaces(entity, info);
    } else if (type == kFace) {
        info.corners = Points<3>(entity.Required("corners"), entity.Where("corners"));
        if (info.corners.size() != 4)
            Fail(entity.Where("corners"), "expected 4 corners");
        if (const Json* flags = entity.Optional("edgeVisible")) {
            const std::string where = entity.Where("edgeVisible");
            if (!flags->is_array() || flags->size() != 4)
                Fail(where, "expected 4 flags");
            for (std::size_t i = 0; i < 4; ++i)
                info.edgeVisible.push_back(Boolean((*flags)[i], Element(where, i)));
        }
    } else if (type == kPolyline) {
        info.points = Points<2>(entity.Required("vertices"), entity.Where("vertices"));
        if (const Json* bulges = entity.Optional("bulges")) {
            const std::string where = entity.Where("bulges");
            if (Array(*bulges, where).size() != info.points.size())
                Fail(where, "expected one bulge per vertex");
            for (std::size_t i = 0; i < bulges->size(); ++i)
                info.bulges.push_back(Number((*bulges)[i], Element(where, i)));
        }
        if (const Json* elevation = entity.Optional("elevation"))
            info.elevation = Number(*elevation, entity.Where("elevation"));
        if (const Json* closed = entity.Optional("closed"))
            info.closed = Boolean(*closed, entity.Where("closed"));
    }
}

// The fields an entity of the type may have.
std::set<std::string> FieldsOf(const std::string& type) {
    std::set<std::string> fields = {"handle", "type", "space", "layer", "erased"};
    if (type == kSubDMesh)
        fields.insert({"vertices", "faces", "vertexColors", "subDLevel"});
    if (type == kPolyFaceMesh)
        fields.insert({"vertices", "faces"});
    if (type == kFace)
        fields.insert({"corners", "edgeVisible"});
    if (type == kPolyline)
        fields.insert({"vertices", "bulges", "elevation", "closed"});
    return fields;
}

EntityInfo ReadEntity(const Json& value, const std::string& where,
                      const std::set<std::wstring>& layerNames, std::set<std::uint64_t>& handles) {
    if (!value.is_object())
        Fail(where, "expected an object");
    if (!value.contains("type"))
        Fail(where, "missing field \"type\"");
    EntityInfo info;
    info.type = Text(value.at("type"), Member(where, "type"));
    const std::string type = wideToUtf8(info.type);
    if (type != kSubDMesh && type != kPolyFaceMesh && type != kFace && type != kPolyline)
        Fail(Member(where, "type"), "unknown entity type \"" + type + "\"");
    const ObjectReader entity(value, where, FieldsOf(type));

    if (const Json* handle = entity.Optional("handle")) {
        info.handle = Text(*handle, entity.Where("handle"));
        const std::uint64_t number = parseHandle(info.handle);
        if (number == 0)
            Fail(entity.Where("handle"), "not a hexadecimal handle");
        if (!handles.insert(number).second)
            Fail(entity.Where("handle"), "handle " + wideToUtf8(info.handle) + " used twice");
    }
    if (const Json* space = entity.Optional("space")) {
        info.space = Text(*space, entity.Where("space"));
        if (info.space != L"model" && info.space != L"paper")
            Fail(entity.Where("space"), "expected \"model\" or \"paper\"");
    }
    if (const Json* layer = entity.Optional("layer")) {
        info.layer = Text(*layer, entity.Where("layer"));
        if (layerNames.count(UpperCase(info.layer)) == 0)
            Fail(entity.Where("layer"),
                 "no layer \"" + wideToUtf8(info.layer) + "\" in the drawing");
    }
    if (const Json* erased = entity.Optional("erased"))
        info.erased = Boolean(*erased, entity.Where("erased"));
    ReadGeometry(entity, info);
    return info;
}

// A syntax error's message without the library's prefix: "parse error at line 3, column 5: ...".
std::string SyntaxErrorText(const Json::parse_error& error) {
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
        out << (i == 0 ? "\n" : ",\n") << "    " << layer.dump();
    }
    out << "\n  ],\n  \"entities\": [";
    for (std::size_t i = 0; i < drawing.entities.size(); ++i)
        out << (i == 0 ? "\n" : ",\n") << "    " << EntityJson(drawing.entities[i]).dump();
    out << (drawing.entities.empty() ? "]" : "\n  ]");
    if (drawing.nextHandle != 0)
        out << ",\n  \"nextHandle\": \"" << wideToUtf8(handleText(drawing.nextHandle)) << "\"";
    out << "\n}\n";
    return out.str();
}

DrawingSnapshot drawingFromJson(const std::string& text) {
    Json root;
    try {
        root = Json::parse(text);
    } catch (const Json::parse_error& error) {
        throw DrawingFileError(SyntaxErrorText(error));
    } catch (const Json::exception& error) {
        // Other parse failures, such as a number beyond the range of a double.
        throw DrawingFileError(std::string("not a valid JSON drawing: ") + error.what());
    }
    if (!root.is_object())
        throw DrawingFileError("expected a drawing object {\"layers\": ...}");
    const ObjectReader drawing(root, "", {"layers", "entities", "nextHandle"});

    DrawingSnapshot snapshot;
    if (const Json* layers = drawing.Optional("layers")) {
        snapshot.layers = ReadLayers(*layers, "layers");
    } else {
        snapshot.layers.push_back(LayerInfo{L"0", false});
    }
    std::set<std::wstring> layerNames;
    for (const LayerInfo& layer : snapshot.layers)
        layerNames.insert(UpperCase(layer.name));

    if (const Json* entities = drawing.Optional("entities")) {
        std::set<std::uint64_t> handles;
        for (std::size_t i = 0; i < Array(*entities, "entities").size(); ++i)
            snapshot.entities.push_back(
                ReadEntity((*entities)[i], Element("entities", i), layerNames, handles));
    }
    if (const Json* next = drawing.Optional("nextHandle")) {
        snapshot.nextHandle = parseHandle(Text(*next, "nextHandle"));
        if (snapshot.nextHandle == 0)
            Fail("nextHandle", "not a hexadecimal handle");
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
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size())
            throw DrawingFileError(std::string("cannot write: ") + std::strerror(errno));
    });
}

DrawingSnapshot loadDrawingFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw DrawingFileError(path + ": cannot open: " + std::strerror(errno));
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        throw DrawingFileError(path + ": cannot read: " + std::strerror(errno));
    try {
        return drawingFromJson(contents.str());
    } catch (const DrawingFileError& error) {
        throw DrawingFileError(path + ": " + error.what());
    }
}

}  // namespace kafhost
