#include "app/program/default_module_path.h"

#include <filesystem>
#include <system_error>

namespace kafcad {

namespace fs = std::filesystem;

std::string DefaultModulePath(const std::string& executableDirectory) {
    const fs::path folder(executableDirectory);
    const fs::path beside = folder / "kaf20x64.arx";
    const fs::path buildTree = folder.parent_path() / "kaf20x64.arx";
    std::error_code error;
    if (fs::exists(beside, error)) {
        return beside.string();
    }
    if (fs::exists(buildTree, error)) {
        return buildTree.string();
    }
    return beside.string();
}

std::string ExecutableDirectory() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::string();
    }
    return executable.parent_path().string();
}

}  // namespace kafcad
