#include "app/program/default_module_path.h"

#include <filesystem>
#include <system_error>

namespace kafcad {

namespace fs = std::filesystem;

std::string DefaultModulePath(const std::string& executableDirectory) {
    const fs::path folder = fs::u8path(executableDirectory);
    const fs::path beside = folder / "kaf20x64.arx";
    const fs::path buildTree = folder.parent_path() / "kaf20x64.arx";
    std::error_code error;
    if (fs::exists(beside, error)) {
        return beside.u8string();
    }
    if (fs::exists(buildTree, error)) {
        return buildTree.u8string();
    }
    return beside.u8string();
}

}  // namespace kafcad
