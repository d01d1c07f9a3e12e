#include "fuzz/check_drawing_round_trip.h"

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_failure.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"
#include "kafhost/wide_to_utf8.h"

namespace {

using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;

template <typename Points>
bool AllFinite(const Points& points) {
    for (const auto& point : points) {
        for (const double c : point) {
            if (!std::isfinite(c)) {
                return false;
            }
        }
    }
    return true;
}

bool HasNonFiniteNumber(const DrawingSnapshot& drawing) {
    for (const EntityInfo& e : drawing.entities) {
        if (!AllFinite(e.vertices) || !AllFinite(e.corners) || !AllFinite(e.points) ||
            !std::isfinite(e.elevation)) {
            return true;
        }
        for (const double bulge : e.bulges) {
            if (!std::isfinite(bulge)) {
                return true;
            }
        }
    }
    return false;
}

// DXF names cannot be empty or hold a line break or one of < > / \ " : ; ? * | = `.
bool NotADxfName(const std::wstring& name) {
    return name.empty() || name.find_first_of(L"\r\n<>/\\\":;?*|=`") != std::wstring::npos ||
           name.find(L'\0') != std::wstring::npos;
}

bool HasNameDxfCannotHold(const DrawingSnapshot& drawing) {
    for (const kafhost::LayerInfo& layer : drawing.layers) {
        if (NotADxfName(layer.name)) {
            return true;
        }
    }
    for (const EntityInfo& e : drawing.entities) {
        if (NotADxfName(e.layer)) {
            return true;
        }
    }
    return false;
}

// The first line where the texts differ, from both.
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream first(a);
    std::istringstream second(b);
    std::string lineA;
    std::string lineB;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(first, lineA));
        const bool moreB = static_cast<bool>(std::getline(second, lineB));
        if (!moreA && !moreB) {
            return "none";
        }
        if (!moreA || !moreB || lineA != lineB) {
            return "line " + std::to_string(line) + ": \"" + lineA + "\" then \"" + lineB + "\"";
        }
    }
}

void LoadIntoHost(kafhost::Host& host, const DrawingSnapshot& drawing, const char* format) {
    std::wstring error;
    if (!host.loadSnapshot(drawing, error)) {
        FuzzFailure(std::string("the host refuses the drawing read back from ") + format + ": " +
                    kafhost::wideToUtf8(error));
    }
}

// A drawing-file format: saving to a file, loading from one, and the file text of a drawing.
struct DrawingFormat {
    const char* name;
    std::function<void(const DrawingSnapshot&, const std::string&)> save;
    std::function<DrawingSnapshot(const std::string&)> load;
    std::function<std::string(const DrawingSnapshot&)> text;
};

// One format: save, load into the host, and the text of what the host then holds must be the
// saved file. A load may raise the next handle (the host gives its own objects new handles above
// the entities'), never lower it; DXF does not write it (reading takes $HANDSEED).
void RoundTrip(kafhost::Host& host, const std::string& path, const DrawingFormat& format,
               bool mayRefuse) {
    const std::string name = format.name;
    const DrawingSnapshot drawing = host.snapshot();
    try {
        format.save(drawing, path);
    } catch (const kafhost::DrawingFileError& error) {
        if (mayRefuse) {
            return;
        }
        FuzzFailure(name + " save failed: " + error.what());
    }
    const std::string first = FileText(path);
    DrawingSnapshot loaded;
    try {
        loaded = format.load(path);
    } catch (const kafhost::DrawingFileError& error) {
        FuzzFailure(name + " load of a saved drawing failed: " + error.what());
    }
    LoadIntoHost(host, loaded, format.name);
    DrawingSnapshot again = host.snapshot();
    if (name == "JSON" && again.nextHandle < drawing.nextHandle) {
        FuzzFailure(name + " load lowered the next handle");
    }
    again.nextHandle = drawing.nextHandle;
    std::string second;
    try {
        second = format.text(again);
    } catch (const kafhost::DrawingFileError& error) {
        FuzzFailure(name + " save of a loaded drawing failed: " + error.what());
    }
    if (second != first) {
        FuzzFailure(name + " file differs after a load and a save, at " +
                    FirstDifference(first, second));
    }
}

}  // namespace

void CheckDrawingRoundTrip(kafhost::Host& host, const TempFolder& folder) {
    static const DrawingFormat kJson = {"JSON", kafhost::saveDrawingFile, kafhost::loadDrawingFile,
                                        kafhost::drawingToJson};
    static const DrawingFormat kDxf = {"DXF", kafhost::saveDxfDrawingFile,
                                       [](const std::string& path) {
                                           std::vector<std::string> notes;
                                           return kafhost::loadDxfDrawingFile(path, notes);
                                       },
                                       kafhost::drawingToDxf};
    const DrawingSnapshot drawing = host.snapshot();
    const bool nonFinite = HasNonFiniteNumber(drawing);
    // DXF first: a drawing read from DXF carries the rest of its file, which a DXF save keeps and
    // the JSON round trip then leaves behind.
    RoundTrip(host, folder.Path("drawing.dxf").string(), kDxf,
              nonFinite || HasNameDxfCannotHold(drawing));
    RoundTrip(host, folder.Path("drawing.json").string(), kJson, nonFinite);
}
