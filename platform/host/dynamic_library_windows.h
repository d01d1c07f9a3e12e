// The Windows loader of libraries, behind an interface free of <windows.h>, whose names collide
// with the host API's own window-system declarations.
//  loadLibrary(path, error): LoadLibraryW of the UTF-8 path; null, with the system's message in
//      error, when it fails.
//  librarySymbol(library, name): GetProcAddress; null when the library does not export name.
//  freeLibrary(library): FreeLibrary.
//  libraryBaseOf(address): the base of the loaded image that holds address, null for none.
//  isLibraryLoaded(path): whether the library of that path is still mapped in the process.
#pragma once

#include <string>

namespace kafhost {

void* loadLibrary(const std::string& path, std::string& error);
void* librarySymbol(void* library, const char* name);
void freeLibrary(void* library);
const void* libraryBaseOf(const void* address);
bool isLibraryLoaded(const std::string& path);

}  // namespace kafhost
