// Finding model-space entities by their handle texts.
//
// OpenModelSpaceEntity(entity, handleText, failedStep): opens for read the entity of the working
// drawing's model space whose handle is written in handleText (hexadecimal). Only unerased
// entities of model space are found: one in paper space or in a block definition is not.
//
// Gives eOk with entity set; the caller must close it. Otherwise gives the failing host call's
// status, leaves entity as it was and points failedStep at the step's name: "getAcDbObjectId"
// (no object has that handle), "getSymbolTable", "getAt" (model space), "newIterator", "seek"
// (the object is not an unerased entity of model space) or "getEntity". The block table, model
// space and the iterator are closed or deleted on every path.
//
// GetEntity(entity, handleText): finds the unerased model-space entity whose handle is written in
// handleText and opens it for read into entity, which the caller sets to null before and must
// close after. When it is not found, the failing step is printed as a step-error line
// ("GetEntity:getAcDbObjectId", "GetEntity:seek", ...) and entity stays null. Gives 0 on every
// path: success shows in entity alone.
#pragma once

#include <cstdint>

#include "arxapi.h"

Acad::ErrorStatus OpenModelSpaceEntity(AcDbEntity*& entity, const wchar_t* handleText,
                                       const wchar_t*& failedStep);

std::int32_t GetEntity(AcDbEntity*& entity, const wchar_t* handleText);
