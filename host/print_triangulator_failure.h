// PrintTriangulatorFailure(text): prints a triangulator's narrow failure text on the command line
// exactly as raised (it carries its own line break).
#pragma once

void PrintTriangulatorFailure(const char* text);
