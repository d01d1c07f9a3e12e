#include "host/print_triangulator_failure.h"

#include <string>

#include "arxapi.h"

// The triangulators' texts are plain ASCII; each byte widens to one character.
void PrintTriangulatorFailure(const char* text) {
    std::wstring wide;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    acutPrintf(L"%s", wide.c_str());
}
