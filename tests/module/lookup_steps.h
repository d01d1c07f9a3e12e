// kLookupSteps: the guarded host calls of the entity lookup by handle (GetEntity), in the order
// it makes them, each with the name its step line gives it ("GetEntity:<step>").
#pragma once

#include "kafhost/host.h"

struct LookupStep {
    kafhost::HostCall call;
    const wchar_t* step;
};

inline constexpr LookupStep kLookupSteps[] = {
    {kafhost::HostCall::kGetAcDbObjectId, L"getAcDbObjectId"},
    {kafhost::HostCall::kGetSymbolTable, L"getSymbolTable"},
    {kafhost::HostCall::kBlockTableGetAt, L"getAt"},
    {kafhost::HostCall::kNewIterator, L"newIterator"},
    {kafhost::HostCall::kIteratorSeek, L"seek"},
    {kafhost::HostCall::kIteratorGetEntity, L"getEntity"},
};
