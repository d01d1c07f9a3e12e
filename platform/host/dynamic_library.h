// The system's loader of libraries (dynamic_library_posix.cpp: dlopen; dynamic_library_windows.cpp:
// LoadLibraryW), behind an interface free of <windows.h>, whose names collide with the host API's
// own window-system declarations.
//  loadLibrary(path, error): loads the library of the UTF-8 path; null, with the system's message
//      in error, when it fails.
//  librarySymbol(library, name): the exported name's address; null when the library lacks it.
//  freeLibrary(library): gives the library back.
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
