// loadFiles(cursor, files): reads the file-list argument that starts at cursor and appends its
// strings, in order, to files. List begins are skipped (the strings of a nested list count as the
// list's own); the first list end stops the walk and the cursor moves past it. When the walk
// reaches the last node of the chain, that node is not examined and the cursor is left on it;
// when it runs off the chain, the cursor becomes null.
//
// Gives 1 when a file name was taken, -1 when none was, and 3 after a node of any other type,
// which is reported as "Error in file list!" under "loadFiles" with the call's result set to nil.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"

std::int32_t loadFiles(const resbuf*& cursor, std::vector<std::wstring>& files);
