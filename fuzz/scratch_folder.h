// ScratchBase(): where a fuzz target keeps its TempFolder for the files it writes (point files,
// drawing files): /dev/shm when there is one, else the system's temporary folder. Drawing saves
// replace their file by renaming, which some disk file systems answer with a flush, at
// milliseconds per save.
#pragma once

#include <filesystem>
#include <system_error>

#include "tests/support/files.h"

inline std::filesystem::path ScratchBase() {
    std::error_code error;
    return std::filesystem::is_directory("/dev/shm", error)
               ? std::filesystem::path("/dev/shm")
               : std::filesystem::temp_directory_path();
}
