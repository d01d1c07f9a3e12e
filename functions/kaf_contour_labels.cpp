// kaf-contourLabels: (contours layer height decimals spacing [onLayer]). Labels contour lines,
// the lightweight polylines in the handle list (as kaf-contours gives them), with their levels
// (their elevations with `decimals` decimals, 0 to 6), as texts of the height on the layer (nil:
// the current layer). With onLayer (a string), only the lines on that layer are labelled, such
// as the major contours' layer; nil or left out labels all.
//
// Labels go along each line every `spacing` drawing units and are moved along it to where the
// line runs straight under them and no other label lies (geom::PlaceContourLabels); each is
// centred on the line (middle alignment) at the line's level, turned along it and kept upright.
// A label's length along the line is taken as 0.9 times the height per character.
// Prints "\nContour labels: %i on %i of %i lines" (labels, lines labelled, lines considered) and
// gives the labels' handles, line by line in the list's order.
//
// Argument errors end the call with nil at the first bad argument; the height and spacing
// (finite and positive) and the decimals are tested after all were read. A handle that leads to
// no polyline, a curved polyline, or a failing writer end it with nil, the drawing unchanged.
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "functions/annotation_arguments.h"
#include "functions/workers.h"
#include "geom/surface/place_contour_labels.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"
#include "input/read_contour_lines.h"
#include "output/create_annotations.h"

namespace {

constexpr const wchar_t* kStep = L"contourLabels";
constexpr double kCharacterWidth = 0.9;  // of the height

struct LabelArguments {
    AnnotationArguments common;
    double spacing = 0.0;
    std::optional<std::wstring> onLayer;
};

const wchar_t* ReadArgument(int position, const resbuf*& cursor, LabelArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 5:
            if (node->restype != RTREAL) {
                return L"Fifth argument has to be a real!";
            }
            out.spacing = node->resval.rreal;
            return nullptr;
        case 6:
            return ReadLayer(node, out.onLayer) ? nullptr
                                                : L"Sixth argument has to be a string or nil!";
        default:
            return ReadAnnotationArgument(position, cursor, out.common);
    }
}

bool ReadArguments(const resbuf* args, LabelArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 5, 6, kStep, [&out](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, out);
        });
    if (!read) {
        return false;
    }
    const wchar_t* error = AnnotationArgumentFault(out.common);
    if (error == nullptr && !IsPositiveNumber(out.spacing)) {
        error = L"The spacing has to be a positive number!";
    }
    if (error != nullptr) {
        ReportFunctionError(kStep, error);
        return false;
    }
    return true;
}

bool IsOnLayer(const ContourPolyline& line, const std::optional<std::wstring>& layer) {
    if (!layer) {
        return true;
    }
    if (line.layer.size() != layer->size()) {
        return false;
    }
    // Layer names compare regardless of case, as the host compares them.
    for (std::size_t i = 0; i < layer->size(); ++i) {
        if (std::towupper(line.layer[i]) != std::towupper((*layer)[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

int RunKafContourLabels(const resbuf* args) {
    LabelArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    std::vector<ContourPolyline> contours;
    if (!ReadContourLines(arguments.common.handles, kStep, contours)) {
        return RSERR;
    }
    std::vector<const ContourPolyline*> labelled;
    std::vector<geom::LabelledLine> lines;
    std::vector<std::wstring> texts;
    for (const ContourPolyline& contour : contours) {
        if (!IsOnLayer(contour, arguments.onLayer)) {
            continue;
        }
        texts.push_back(LevelText(contour.elevation, arguments.common.decimals));
        lines.push_back(geom::LabelledLine{
            contour.points, contour.closed,
            static_cast<double>(texts.back().size()) * kCharacterWidth * arguments.common.height});
        labelled.push_back(&contour);
    }
    std::vector<geom::ContourLabel> labels;
    geom::PlaceContourLabels(
        lines, geom::ContourLabelOptions{arguments.spacing, arguments.common.height}, labels);
    std::vector<Annotation> items;
    items.reserve(labels.size());
    std::vector<bool> hasLabel(lines.size(), false);
    for (const geom::ContourLabel& label : labels) {
        Annotation item;
        item.isText = true;
        item.position = AcGePoint3d(label.x, label.y, labelled[label.line]->elevation);
        item.text = texts[label.line];
        item.height = arguments.common.height;
        item.rotation = label.rotation;
        item.horizontal = AcDb::kTextMid;
        item.vertical = AcDb::kTextBase;
        items.push_back(item);
        hasLabel[label.line] = true;
    }
    std::vector<std::wstring> handles;
    const wchar_t* layer = arguments.common.layer ? arguments.common.layer->c_str() : nullptr;
    if (CreateAnnotations(items, layer, L"Writing labels ...", handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    int linesLabelled = 0;
    for (const bool has : hasLabel) {
        linesLabelled += has ? 1 : 0;
    }
    acutPrintf(L"\nContour labels: %i on %i of %i lines", static_cast<int>(handles.size()),
               linesLabelled, static_cast<int>(lines.size()));
    return ReturnList(StringsToResultList(handles));
}
