// The workers of the module's AutoLISP functions. Each takes the call's argument chain (possibly
// null) and gives RSRSLT after setting the call's result, or RSERR when the call failed.
#pragma once

#include "arxapi.h"

int RunTriangulate(const resbuf* args);
int RunKafDct(const resbuf* args);
int RunKafDctPface(const resbuf* args);
int RunKafDctPfacemesh(const resbuf* args);
int RunKafDctPfacemeshWithLoadCsv(const resbuf* args);
int RunKafDctSubdmesh(const resbuf* args);
int RunKafDctSubdmeshAa(const resbuf* args);
int RunKafDctSubdmeshWithLoadCsv(const resbuf* args);
int RunKafMergingCoplanarFacesOfSubMesh(const resbuf* args);
int RunKafChangeMeshColor(const resbuf* args);
int RunKafContours(const resbuf* args);
int RunKafSurfaceStatistics(const resbuf* args);
int RunKafVolume(const resbuf* args);
int RunKafVolumeToDatum(const resbuf* args);
int RunKafCdtSubdmesh(const resbuf* args);
int RunKafCdtPfacemesh(const resbuf* args);
int RunKafCdtSubdmeshWithLoadCsv(const resbuf* args);
int RunKafCdtPfacemeshWithLoadCsv(const resbuf* args);
int RunKafProfile(const resbuf* args);
int RunKafSections(const resbuf* args);
int RunKafIsopach(const resbuf* args);
int RunKafSurfaceFaces(const resbuf* args);
int RunKafCdtPface(const resbuf* args);
int RunKafCdtPfaceWithLoadCsv(const resbuf* args);
int RunKafContourLabels(const resbuf* args);
int RunKafSpotLevels(const resbuf* args);
int RunKafThinSubdmeshWithLoadCsv(const resbuf* args);
