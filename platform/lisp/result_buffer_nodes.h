// Nodes of result-buffer chains as the host makes them (calloc'd, strings malloc'd), without
// fault injection: for the host's own chains.
#pragma once

#include <string>

#include "arxapi.h"

namespace kafhost {

resbuf* newNode(int type);
// A node of type RTSTR holding a malloc'd copy of the text.
resbuf* newStringNode(const std::wstring& text);
void freeChain(resbuf* chain);

}  // namespace kafhost
