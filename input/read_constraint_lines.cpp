#include "input/read_constraint_lines.h"

#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/entity_lookup.h"
#include "output/close_on_exit.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Reading lines ...";

enum class LineFault { None, NotALine, Curved, NotClosed };

geom::CVertex Vertex(const AcGePoint3d& point) {
    return geom::CVertex(point.x, point.y, point.z);
}

LineFault Read3dPolyline(const AcDb3dPolyline& line, std::vector<geom::CVertex>& vertices,
                         bool& closed) {
    if (line.polyType() != AcDb::k3dSimplePoly) {
        return LineFault::Curved;
    }
    double end = 0.0;
    if (line.getEndParam(end) != Acad::eOk) {
        return LineFault::None;  // no vertices: nothing to add
    }
    for (double param = 0.0; param <= end; param += 1.0) {
        AcGePoint3d point;
        if (line.getPointAtParam(param, point) == Acad::eOk) {
            vertices.push_back(Vertex(point));
        }
    }
    closed = line.isClosed();
    return LineFault::None;
}

LineFault ReadPolyline(const AcDbPolyline& line, std::vector<geom::CVertex>& vertices,
                       bool& closed) {
    const unsigned int count = line.numVerts();
    for (unsigned int i = 0; i < count; ++i) {
        double bulge = 0.0;
        AcGePoint3d point;
        line.getBulgeAt(i, bulge);
        // The last vertex's bulge shapes the closing segment only.
        if (bulge != 0.0 && (i + 1 < count || line.isClosed())) {
            return LineFault::Curved;
        }
        line.getPointAt(i, point);
        vertices.push_back(Vertex(point));
    }
    if (line.isClosed() && count > 0) {
        vertices.push_back(vertices.front());
    }
    closed = line.isClosed();
    return LineFault::None;
}

LineFault ReadLine(const AcDbEntity& entity, ConstraintLine& line) {
    bool closed = false;
    LineFault fault = LineFault::NotALine;
    if (entity.isKindOf(AcDb3dPolyline::desc())) {
        fault = Read3dPolyline(static_cast<const AcDb3dPolyline&>(entity), line.vertices, closed);
    } else if (entity.isKindOf(AcDbPolyline::desc())) {
        fault = ReadPolyline(static_cast<const AcDbPolyline&>(entity), line.vertices, closed);
        line.flat = true;
    }
    if (fault != LineFault::None || line.role == LineRole::Breakline ||
        line.role == LineRole::Alignment || closed) {
        return fault;
    }
    const std::vector<geom::CVertex>& v = line.vertices;
    const bool endsAtStart = v.size() > 1 && v.back().x == v.front().x && v.back().y == v.front().y;
    return endsAtStart ? LineFault::None : LineFault::NotClosed;
}

}  // namespace

bool ReadConstraintLines(std::vector<ConstraintLine>& lines, const wchar_t* label) {
    ProgressMeterState meter;
    StartProgressMeter(meter, kMeterLabel, static_cast<double>(lines.size()));
    const EndProgressMeterOnExit endMeter;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ConstraintLine& line = lines[i];
        AcDbEntity* entity = nullptr;
        GetEntity(entity, line.handle.c_str());
        LineFault fault = LineFault::NotALine;
        if (entity != nullptr) {
            const CloseOnExit close(entity);
            fault = ReadLine(*entity, line);
        }
        if (fault != LineFault::None) {
            const std::wstring text =
                fault == LineFault::NotALine
                    ? L"Object " + line.handle + L" is not a 3D polyline or polyline!"
                : fault == LineFault::Curved
                    ? L"Object " + line.handle + L" has curved segments; " +
                          (line.role == LineRole::Alignment
                               ? L"alignments must be straight!"
                               : L"breaklines and boundaries must be straight!")
                    : L"Boundary " + line.handle + L" is not closed!";
            ReportFunctionError(label, text.c_str());
            return false;
        }
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(i + 1));
        PumpMessagesThrottled();
    }
    return true;
}
