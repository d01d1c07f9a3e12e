#include "functions/surface_arguments.h"

#include <cmath>
#include <cwchar>

#include "host/argument_readers.h"
#include "host/pump_messages.h"

namespace {

constexpr const wchar_t* kOrdinals[] = {L"First", L"Second",  L"Third",  L"Fourth", L"Fifth",
                                        L"Sixth", L"Seventh", L"Eighth", L"Ninth",  L"Tenth"};

std::wstring Message(int position, const wchar_t* rest) {
    return std::wstring(kOrdinals[position - 1]) + L" argument has to be " + rest;
}

// A list whose items all pass `take` (nil: an empty list); the cursor is left on its RTLE.
template <typename Take>
bool ReadList(const resbuf*& cursor, Take take) {
    if (cursor->restype == RTNIL) {
        return true;
    }
    if (cursor->restype != RTLB) {
        return false;
    }
    for (cursor = cursor->rbnext; cursor != nullptr && cursor->restype != RTLE;
         cursor = cursor->rbnext) {
        if (!take(cursor)) {
            return false;
        }
    }
    return cursor != nullptr;
}

bool ReadHandles(const resbuf*& cursor, LineRole role, std::vector<ConstraintLine>& lines) {
    return ReadList(cursor, [&](const resbuf* node) {
        if (node->restype != RTSTR || node->resval.rstring == nullptr) {
            return false;
        }
        lines.push_back(ConstraintLine{node->resval.rstring, role, {}, false});
        return true;
    });
}

bool ReadNumber(const resbuf* node, double& value) {
    std::int32_t whole = 0;
    if (node->restype == RTREAL) {
        value = node->resval.rreal;
    } else if (ReadInteger(node, whole)) {
        value = whole;
    } else {
        return false;
    }
    return true;
}

// Checks the argument at cursor; gives the error message (empty when accepted).
std::wstring ReadSlot(ArgumentSlot slot, int position, const resbuf*& cursor, SurfaceArguments& out,
                      const MeshArgumentRules& rules) {
    const resbuf* node = cursor;
    switch (slot) {
        case ArgumentSlot::Points:
            return ReadList(cursor,
                            [&](const resbuf* item) {
                                if (!IsPointNode(item)) {
                                    return false;
                                }
                                const double z =
                                    item->restype == RT3DPOINT ? item->resval.rpoint[2] : 0.0;
                                out.points.emplace_back(item->resval.rpoint[0],
                                                        item->resval.rpoint[1], z);
                                return true;
                            })
                       ? L""
                       : Message(position, L"a point list or nil!");
        case ArgumentSlot::Files:
            return ReadList(cursor,
                            [&](const resbuf* item) {
                                if (item->restype != RTSTR || item->resval.rstring == nullptr) {
                                    return false;
                                }
                                out.files.emplace_back(item->resval.rstring);
                                return true;
                            }) &&
                           !out.files.empty()
                       ? L""
                       : Message(position, L"a list of file names!");
        case ArgumentSlot::Layout:
            return node->restype == RTSTR && node->resval.rstring != nullptr &&
                           ParseSurveyLayout(node->resval.rstring, out.columns)
                       ? L""
                       : Message(position, L"a column layout such as \"PNEZD\"!");
        case ArgumentSlot::Delimiter:
            if (node->restype != RTSTR || node->resval.rstring == nullptr ||
                std::wcslen(node->resval.rstring) != 1) {
                return Message(position, L"a delimiter of one character!");
            }
            out.delimiter = node->resval.rstring[0];
            return L"";
        case ArgumentSlot::Breaklines:
            return ReadHandles(cursor, LineRole::Breakline, out.lines)
                       ? L""
                       : Message(position, L"a handle list or nil!");
        case ArgumentSlot::Boundary:
            if (node->restype == RTSTR && node->resval.rstring != nullptr) {
                out.lines.push_back(
                    ConstraintLine{node->resval.rstring, LineRole::OuterBoundary, {}, false});
                return L"";
            }
            return node->restype == RTNIL ? L"" : Message(position, L"a handle or nil!");
        case ArgumentSlot::Holes:
            return ReadHandles(cursor, LineRole::Hole, out.lines)
                       ? L""
                       : Message(position, L"a handle list or nil!");
        case ArgumentSlot::EdgeLength:
        case ArgumentSlot::SnapTolerance: {
            double& length =
                slot == ArgumentSlot::EdgeLength ? out.maxEdgeLength : out.snapTolerance;
            return ReadNumber(node, length) && std::isfinite(length) && length >= 0.0
                       ? L""
                       : Message(position, L"a length of 0 or more!");
        }
        case ArgumentSlot::Tolerance:
            return ReadNumber(node, out.tolerance) && std::isfinite(out.tolerance) &&
                           out.tolerance >= 0.0
                       ? L""
                       : Message(position, L"a tolerance of 0 or more!");
        case ArgumentSlot::Layer:
            return ReadLayer(node, out.layer) ? L"" : Message(position, L"a string or nil!");
        case ArgumentSlot::MaxPoints:
            if (!ReadInteger(node, out.maxPoints)) {
                return rules.integerMessage;
            }
            return IsMaxPointsInRange(out.maxPoints, rules.largestMaxPoints) ? L""
                                                                             : rules.rangeMessage;
    }
    return L"";  // not reached: every slot is a case above
}

}  // namespace

bool ReadSurfaceArguments(const resbuf* args, const ArgumentSlot* slots, int count, int required,
                          const MeshArgumentRules& rules, SurfaceArguments& out) {
    std::wstring message;
    return ReadPositionalArguments(
        args, required, count, rules.label, [&](int position, const resbuf*& cursor) {
            message = ReadSlot(slots[position - 1], position, cursor, out, rules);
            return message.empty() ? nullptr : message.c_str();
        });
}

bool ReadArgumentPoints(const SurfaceArguments& arguments, const wchar_t* label,
                        const SurveyPointSink& add, const SurveyRepeatsDrop& dropRepeats) {
    if (arguments.files.empty()) {
        for (const geom::CVertex& point : arguments.points) {
            add(point.x, point.y, point.z);
        }
        return true;
    }
    PumpMessagesThrottled();
    acutPrintf(L"\nReading points ...");
    SurveyReadCounts counts;
    SurveyReadOptions options;
    options.dropRepeats = dropRepeats;
    return ReadSurveyPointFiles(arguments.files, arguments.columns, arguments.delimiter, label, add,
                                counts, options);
}
