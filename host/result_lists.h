// Builders of result chains. Each gives null (having freed what it built) when the host cannot
// make a node.
//
// NewListBegin(), NewListEnd(): an RTLB or RTLE node. NewPointNode(x, y, z): an RT3DPOINT node.
// NewStringNode(text): an RTSTR node owning a malloc'd copy of text.
// NewRealNode(value): an RTREAL node. NewNilNode(): an RTNIL node. NewLongNode(value): an RTLONG
// node. NodesToResultList(nodes): RTLB, the nodes in order, RTLE. Takes the nodes over: when one of
// them is null (not made), frees the others and gives null. TrianglesToResultList(triangles): RTLB,
// per triangle RTLB p1 p2 p3 RTLE, RTLE. StringsToResultList(strings): RTLB, one RTSTR per string,
// RTLE. ReturnList(chain): sets the call's result to chain (acedRetList), frees it and gives
// RSRSLT; a null chain sets nil and gives RSERR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"
#include "geom/kernel/triangle.h"

resbuf* NewListBegin();
resbuf* NewListEnd();
resbuf* NewPointNode(double x, double y, double z);
resbuf* NewStringNode(const std::wstring& text);
resbuf* NewRealNode(double value);
resbuf* NewNilNode();
resbuf* NewLongNode(std::int32_t value);
resbuf* NodesToResultList(const std::vector<resbuf*>& nodes);
resbuf* TrianglesToResultList(const std::vector<geom::CTriangle>& triangles);
resbuf* StringsToResultList(const std::vector<std::wstring>& strings);
int ReturnList(resbuf* chain);
