// SetLayerReported(entity, layer, step): puts the entity (sub-entities included) on the named
// layer, which must exist and may not be hidden. A null layer leaves the entity as it is. Gives
// false after printing the step-error line under step when the host refuses the layer.
#pragma once

#include "arxapi.h"

bool SetLayerReported(AcDbEntity& entity, const wchar_t* layer, const wchar_t* step);
