// kaf-sections: (alignment interval left right existing [design]). Cross-sections of the
// surface `existing` (and of `design`), each a handle list of its meshes, along the polyline or
// 3D polyline with the handle `alignment`, every `interval` (and at its end), `left` to its left
// and `right` to its right (geom::CutSections: square cuts, bisecting at the line's vertices).
//
// Gives one list per section: (station profile) with one surface, (station existing design cut
// fill cutVolume fillVolume) with two; the profiles as (offset elevation) lists with nil where
// the cut leaves the surface (AppendProfileNodes), offsets negative on the left. Prints
// "\nSections: %i stations from %.3f to %.3f, %.3f left and %.3f right" and with two surfaces
// the table of the areas and average-end-area volumes (PrintTable).
//
// Argument errors end the call with nil at the first bad argument; the interval (finite and
// positive) and the widths (finite, not negative, their sum positive) are tested after all were
// read. A line or mesh that cannot be read or a surface that cannot be made ends it with nil.
#include <cmath>
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/profile_lists.h"
#include "functions/workers.h"
#include "geom/surface/cut_sections.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"

namespace {

constexpr const wchar_t* kStep = L"sections";

struct SectionArguments {
    std::wstring alignment;
    geom::SectionOptions options;
    std::vector<std::wstring> existing;
    std::vector<std::wstring> design;
};

const wchar_t* RealArgument(const resbuf* node, double& value, const wchar_t* message) {
    return ReadReal(node, value) ? nullptr : message;
}

const wchar_t* ReadArgument(int position, const resbuf*& cursor, SectionArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            if (node->restype != RTSTR || node->resval.rstring == nullptr) {
                return L"First argument has to be a handle string!";
            }
            out.alignment = node->resval.rstring;
            return nullptr;
        case 2:
            return RealArgument(node, out.options.interval, L"Second argument has to be a real!");
        case 3:
            return RealArgument(node, out.options.left, L"Third argument has to be a real!");
        case 4:
            return RealArgument(node, out.options.right, L"Fourth argument has to be a real!");
        case 5:
            return ReadSurfaceArgument(cursor, out.existing,
                                       L"Fifth argument has to be a handle list!");
        default:
            return ReadSurfaceArgument(cursor, out.design,
                                       L"Sixth argument has to be a handle list!");
    }
}

bool ReadArguments(const resbuf* args, SectionArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 5, 6, kStep, [&out](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, out);
        });
    if (!read) {
        return false;
    }
    const geom::SectionOptions& o = out.options;
    const wchar_t* error = nullptr;
    if (!(std::isfinite(o.interval) && o.interval > 0.0)) {
        error = L"The interval has to be a positive number!";
    } else if (!(std::isfinite(o.left) && std::isfinite(o.right) && o.left >= 0.0 &&
                 o.right >= 0.0 && o.left + o.right > 0.0)) {
        error = L"The widths have to be numbers of 0 or more, not both 0!";
    }
    if (error != nullptr) {
        ReportFunctionError(kStep, error);
        return false;
    }
    return true;
}

// The civil engineer's table: per station the cut and fill areas and the volumes from the
// station before, and the volumes' totals.
void PrintTable(const std::vector<geom::CrossSection>& sections) {
    acutPrintf(L"\n%12s %12s %12s %14s %14s", L"Station", L"Cut area", L"Fill area", L"Cut volume",
               L"Fill volume");
    double cut = 0.0;
    double fill = 0.0;
    for (const geom::CrossSection& s : sections) {
        acutPrintf(L"\n%12.3f %12.3f %12.3f %14.3f %14.3f", s.station, s.cutArea, s.fillArea,
                   s.cutVolume, s.fillVolume);
        cut += s.cutVolume;
        fill += s.fillVolume;
    }
    acutPrintf(L"\n%12s %12s %12s %14.3f %14.3f", L"Total", L"", L"", cut, fill);
}

// The list of one section's profile: (offset elevation) lists, nil at gaps.
void AppendProfileList(const std::vector<geom::ProfileRun>& runs, std::vector<resbuf*>& nodes) {
    nodes.push_back(NewListBegin());
    AppendProfileNodes(runs, nodes);
    nodes.push_back(NewListEnd());
}

}  // namespace

int RunKafSections(const resbuf* args) {
    SectionArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    std::vector<geom::PlanPoint> line;
    geom::WeldedSurface existing;
    geom::WeldedSurface design;
    const bool twoSurfaces = !arguments.design.empty();
    if (!ReadAlignment(arguments.alignment, kStep, line) ||
        !LoadSurface(arguments.existing, kStep, existing) ||
        (twoSurfaces && !LoadSurface(arguments.design, kStep, design))) {
        return RSERR;
    }
    std::vector<geom::CrossSection> sections;
    const geom::SurfaceStatus status = geom::CutSections(existing, twoSurfaces ? &design : nullptr,
                                                         line, arguments.options, sections);
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    if (sections.empty()) {
        acutPrintf(L"\nSections: none (the line has no length)");
        acedRetNil();
        return RSRSLT;
    }
    acutPrintf(L"\nSections: %i stations from %.3f to %.3f, %.3f left and %.3f right",
               static_cast<int>(sections.size()), sections.front().station, sections.back().station,
               arguments.options.left, arguments.options.right);
    if (twoSurfaces) {
        PrintTable(sections);
    }
    std::vector<resbuf*> nodes;
    for (const geom::CrossSection& s : sections) {
        nodes.push_back(NewListBegin());
        nodes.push_back(NewRealNode(s.station));
        AppendProfileList(s.existing, nodes);
        if (twoSurfaces) {
            AppendProfileList(s.design, nodes);
            for (const double value : {s.cutArea, s.fillArea, s.cutVolume, s.fillVolume}) {
                nodes.push_back(NewRealNode(value));
            }
        }
        nodes.push_back(NewListEnd());
    }
    return ReturnList(NodesToResultList(nodes));
}
