// AppendAllOrNone(count, meterLabel, stepPrefix, make, handles): appends `count` new entities to
// model space, all or none. make(i) gives the i-th entity (null after it printed its own step
// line, which stops the run). A status-bar meter under meterLabel counts the entities.
//
// The entities stay open until every one of them is in the drawing; only then are their handle
// texts appended to handles, in order. On a failure the entities appended so far are erased
// again, so that the drawing is left as it was, and RTERROR is given after a step line:
// "<stepPrefix>:getSymbolTable" (block table), "<stepPrefix>:getAt" (model space),
// "<stepPrefix>:appendAcDbEntity". A thrown failure (memory) likewise leaves nothing behind.
// Gives RTNORM otherwise; count 0: nothing is opened or written.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "arxapi.h"

int AppendAllOrNone(std::size_t count, const wchar_t* meterLabel, const std::wstring& stepPrefix,
                    const std::function<std::unique_ptr<AcDbEntity>(std::size_t)>& make,
                    std::vector<std::wstring>& handles);
