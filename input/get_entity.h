// GetEntity(entity, handleText): finds the unerased model-space entity whose handle is written in
// handleText and opens it for read into entity, which the caller sets to null before and must
// close after. When it is not found, the failing step is printed as a step-error line
// ("GetEntity:getAcDbObjectId", "GetEntity:seek", ...) and entity stays null. Gives 0 on every
// path: success shows in entity alone.
#pragma once

#include <cstdint>

#include "arxapi.h"

std::int32_t GetEntity(AcDbEntity*& entity, const wchar_t* handleText);
