#include "fuzz/check_drawing_round_trip.h"

#include <cmath>
#include <fstream>
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
    return name.empty() || name.find_first_of(L"\r\n<>/\\\":;?*|=`") != std::wstring::npos;
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

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void LoadIntoHost(kafhost::Host& host, const DrawingSnapshot& drawing, const char* format) {
    std::wstring error;
    if (!host.loadSnapshot(drawing, error)) {
        FuzzFailure(std::string("the host refuses the drawing read back from ") + format + ": " +
                    kafhost::wideToUtf8(error));
    }
}

// One format: save, load into the host, save again; the two files must be the same (for JSON
// up to "nextHandle", which a load may raise: the host gives its own objects new handles above
// the entities').
template <typename Save, typename Load>
void RoundTrip(kafhost::Host& host, const std::string& path, const char* format, bool mayRefuse,
               Save save, Load load) {
    const DrawingSnapshot drawing = host.snapshot();
    try {
        save(drawing, path);
    } catch (const kafhost::DrawingFileError& error) {
        if (mayRefuse) {
            return;
        }
        FuzzFailure(std::string(format) + " save failed: " + error.what());
    }
    const std::string first = ReadWholeFile(path);
    DrawingSnapshot loaded;
    try {
        loaded = load(path);
    } catch (const kafhost::DrawingFileError& error) {
        FuzzFailure(std::string(format) + " load of a saved drawing failed: " + error.what());
    }
    LoadIntoHost(host, loaded, format);
    DrawingSnapshot again = host.snapshot();
    const bool json = format == std::string("JSON");
    // JSON keeps the next handle; DXF does not write it (reading takes $HANDSEED).
    if (json && again.nextHandle < drawing.nextHandle) {
        FuzzFailure(std::string(format) + " load lowered the next handle");
    }
    std::string second;
    try {
        save(again, path);
        second = ReadWholeFile(path);
        if (second != first && json) {
            again.nextHandle = drawing.nextHandle;
            second = kafhost::drawingToJson(again);
        }
    } catch (const kafhost::DrawingFileError& error) {
        FuzzFailure(std::string(format) + " save of a loaded drawing failed: " + error.what());
    }
    if (second != first) {
        FuzzFailure(std::string(format) + " file differs after a load and a save, at " +
                    FirstDifference(first, second));
    }
}

}  // namespace

void CheckDrawingRoundTrip(kafhost::Host& host, const ScratchFolder& folder) {
    const DrawingSnapshot drawing = host.snapshot();
    const bool nonFinite = HasNonFiniteNumber(drawing);
    RoundTrip(
        host, folder.Path("drawing.json"), "JSON", nonFinite,
        [](const DrawingSnapshot& d, const std::string& p) { kafhost::saveDrawingFile(d, p); },
        [](const std::string& p) { return kafhost::loadDrawingFile(p); });
    RoundTrip(
        host, folder.Path("drawing.dxf"), "DXF", nonFinite || HasNameDxfCannotHold(drawing),
        [](const DrawingSnapshot& d, const std::string& p) { kafhost::saveDxfDrawingFile(d, p); },
        [](const std::string& p) {
            std::vector<std::string> notes;
            return kafhost::loadDxfDrawingFile(p, notes);
        });
}
