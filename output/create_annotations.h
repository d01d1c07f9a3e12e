// Annotations of a drawing: points and single-line texts, such as contour labels and spot levels.
//
// CreateAnnotations(items, layer, meterLabel, handles): writes each item into model space on the
// layer (null: the drawing's current layer) as a point (AcDbPoint at its position) or a text
// (AcDbText: its string, height and rotation, in the drawing's Standard style, sitting with its
// alignment at the position). All or nothing (AppendAllOrNone under meterLabel): the handle
// texts are appended to handles in the items' order; a failure erases what was written and
// gives RTERROR after a step line "CreateAnnotations:getSymbolTable", "CreateAnnotations:getAt",
// "CreateAnnotations:setLayer" or "CreateAnnotations:appendAcDbEntity".
//
// LevelText(elevation, decimals): the elevation with that many decimals ("%.*f"), never "-0".
#pragma once

#include <string>
#include <vector>

#include "arxapi.h"

struct Annotation {
    bool isText = false;
    AcGePoint3d position;
    std::wstring text;
    double height = 0.0;
    double rotation = 0.0;
    AcDb::TextHorzMode horizontal = AcDb::kTextLeft;
    AcDb::TextVertMode vertical = AcDb::kTextBase;
};

int CreateAnnotations(const std::vector<Annotation>& items, const wchar_t* layer,
                      const wchar_t* meterLabel, std::vector<std::wstring>& handles);

std::wstring LevelText(double elevation, int decimals);
