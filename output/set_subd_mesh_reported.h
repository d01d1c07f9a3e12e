// SetSubDMeshReported(mesh, points, faces): gives a subdivision mesh its points and its face list
// (per face the corner count 3 and three point numbers from 0) at subdivision level 0. The host's
// status is not examined. When the host throws a wide text instead, prints the step-error line
// "CreateSubDMesh:setSubDMesh" with the text of the writer's last status, which is that of the
// last successful step (eOk), and gives false.
#pragma once

#include "arxapi.h"

bool SetSubDMeshReported(AcDbSubDMesh& mesh, const AcGePoint3dArray& points,
                         const AcArray<Adesk::Int32>& faces);
