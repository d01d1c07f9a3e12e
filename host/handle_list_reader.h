// ReadHandleList(cursor): reads a handle list starting at cursor and gives its strings in order.
// Ends on the list's closing RTLE and leaves the cursor on it. When the chain ends first (the
// list is the last argument, so its RTLE is never examined), prints "End Handle: %s\n" for every
// string read and leaves the cursor null: callers must test it before stepping past the list.
#pragma once

#include <string>
#include <vector>

#include "arxapi.h"

std::vector<std::wstring> ReadHandleList(const resbuf*& cursor);
