// The steps the surface functions (kaf-contours, kaf-surfaceStatistics, kaf-volume,
// kaf-volumeToDatum) share.
//
// ReadSurfaceArgument(cursor, handles, message): reads a surface argument, a handle list of its
// meshes, to its end (ReadCompleteHandleList), leaving the cursor on its closing RTLE. Gives
// message when the argument is no list or a list without a handle text, else null.
//
// SurfaceStepMeter(label): the status-bar meter of one long step of a surface function, shown
// from its making to its end (or the scope's end, whichever way it is left). Progress() gives the
// callback through which the surface functions of geom/ move it to the share of the work done.
//
// LoadSurface(handles, label, surface): reads the meshes named by the handle list
// (ReadSurfaceMeshes) and joins them into one surface (geom::WeldSurface, meter "Joining meshes
// ..."). Gives false after the aborted-function line under label (nil set): the reader's texts,
// or the surface's faults, named by the mesh's handle:
//   "Mesh <h> has a vertex with a coordinate that is not a finite number!"
//   "Mesh <h> has a face with a vertex it does not have!"
//   "Mesh <h> has a vertex at (x, y) where another vertex has a different elevation!"
//   "Mesh <h> has a face at (x, y) that overlaps another face!" (x, y: the face's centre)
//   "The meshes have too many vertices or faces!"
// Memory shortage is thrown as std::bad_alloc.
//
// ReportSurfaceFailure(label, status): ends a surface function after a geom function gave a
// status other than Ok: the aborted-function line under label with the status's text (nil set,
// RSERR given). OutOfMemory is thrown as std::bad_alloc instead, which the worker's guard
// reports as the triangulator's "Not enough memory".
#pragma once

#include <string>
#include <vector>

#include "arxapi.h"
#include "geom/surface/surface_mesh.h"
#include "geom/surface/surface_progress.h"
#include "geom/surface/surface_status.h"
#include "geom/surface/welded_surface.h"
#include "host/progress_meter.h"

const wchar_t* ReadSurfaceArgument(const resbuf*& cursor, std::vector<std::wstring>& handles,
                                   const wchar_t* message);

class SurfaceStepMeter {
public:
    explicit SurfaceStepMeter(const wchar_t* label);
    SurfaceStepMeter(const SurfaceStepMeter&) = delete;
    SurfaceStepMeter& operator=(const SurfaceStepMeter&) = delete;

    geom::SurfaceProgress Progress();

private:
    const wchar_t* label_;
    ProgressMeterState state_;
    EndProgressMeterOnExit end_;
};

bool LoadSurface(const std::vector<std::wstring>& handles, const wchar_t* label,
                 geom::WeldedSurface& surface);

int ReportSurfaceFailure(const wchar_t* label, geom::SurfaceStatus status);

// SurfaceFaultText(status, where, meshes, names): the text of a fault found in the meshes at
// `where` (NonFiniteCoordinate, FaceIndexOutOfRange, ConflictingElevation at a vertex,
// OverlappingFaces at a face), naming the mesh by its handle text in names, as listed above.
// PlanPositionText(x, y): "(x, y)" with three decimals, as the fault texts show positions.
std::wstring SurfaceFaultText(geom::SurfaceStatus status, const geom::MeshPosition& where,
                              const std::vector<geom::SurfaceMesh>& meshes,
                              const std::vector<std::wstring>& names);
std::wstring PlanPositionText(double x, double y);
